#pragma once

#include <QString>
#include <QStringList>
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
    ~HomeRouter();
    HomeRouter(const HomeRouter&) = delete;
    HomeRouter& operator=(const HomeRouter&) = delete;

    // Empty when the namespaces stand; otherwise why they could not be made.
    const QString& failure() const { return failure_; }
    QString homeName() const { return name_.arg("home"); }
    QString providerName() const { return name_.arg("provider"); }
    // Starts coturn at the provider as a STUN server (no TURN, TLS or credentials); its
    // "address:port", or empty when it did not start. It stops with the object.
    QString startStun();
    // From now on, counts the UDP packets that arrive at the provider's `port` and leave it, and
    // the STUN messages (ICE connectivity checks) among those arriving.
    bool countMediaAt(int port);
    int mediaArrived() const { return counter("arrived"); }
    int mediaLeft() const { return counter("left"); }
    int stunArrived() const { return counter("stun"); }

private:
    bool run(const QStringList& command);
    int counter(const QString& name) const;
    QString name_;  // "%1-<pid>"
    QString failure_;
    QTemporaryDir stunDir_;
    Child stun_;
};

// The calling thread, and the threads and processes it starts, live in the namespace `name`
// while this object does.
class InNamespace {
public:
    explicit InNamespace(const QString& name);
    ~InNamespace();
    InNamespace(const InNamespace&) = delete;
    InNamespace& operator=(const InNamespace&) = delete;
    bool entered() const { return entered_; }

private:
    int previous_;
    bool entered_ = false;
};

}  // namespace softphone::test
