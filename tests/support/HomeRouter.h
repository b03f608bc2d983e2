#pragma once

#include <sched.h>

#include <QFile>
#include <QTemporaryDir>

#include "tests/support/Child.h"

namespace softphone::test {

// Three network namespaces of this process: "home" (10.0.0.2) behind "router", which masquerades
// 10.0.0.0/24 to its provider side 198.18.0.1/24, and "provider" (198.18.0.2). The provider has
// no route to the home: whatever reaches the home from there went through the router's NAT.
// All of it goes with the object.
class HomeRouter {
public:
    static constexpr const char* kProvider = "198.18.0.2";
    // The router forgets an idle UDP binding after this many seconds (set before the first
    // packet: a binding keeps the timeout it was last refreshed with).
    static constexpr int kForgetsUdpAfter = 12;

    HomeRouter();
    // Removing a namespace removes its end of each veth pair, and with it the other end.
    ~HomeRouter() {
        for (const char* role : {"home", "router", "provider"})
            output("ip", {"netns", "del", name(role)});
    }

    // Empty when the namespaces stand; otherwise why they could not be made.
    const QString& failure() const { return failure_; }
    QString name(const char* role) const { return name_.arg(role); }  // "home", "router", ...
    // Starts coturn at the provider as a STUN server (no TURN, TLS or credentials); its
    // "address:port", or empty when it did not start. It stops with the object.
    QString startStun();
    // From now on, counts the UDP packets that arrive at the provider's `port` ("arrived") and
    // leave it ("left"), and the STUN messages (ICE connectivity checks) among those arriving
    // ("stun"); packets() reads a counter.
    bool countMediaAt(int port);
    int packets(const char* counter) const;

private:
    bool run(const QString& script);  // a bash script that stops at its first failing command
    QString name_;                    // "%1-<pid>"
    QString failure_;
    QTemporaryDir stunDir_;
    Child stun_;
};

// The calling thread, and the threads and processes it starts, live in the namespace `name`
// while this object does.
class InNamespace {
public:
    explicit InNamespace(const QString& name) : previous_("/proc/thread-self/ns/net") {
        QFile target("/run/netns/" + name);
        entered_ = previous_.open(QIODevice::ReadOnly) && target.open(QIODevice::ReadOnly) &&
                   ::setns(target.handle(), CLONE_NEWNET) == 0;
    }
    ~InNamespace() {
        if (entered_) ::setns(previous_.handle(), CLONE_NEWNET);
    }

private:
    QFile previous_;  // the namespace to go back to
    bool entered_ = false;
};

}  // namespace softphone::test
