#pragma once

#include <QString>
#include <QStringList>

namespace softphone::test {

// Three network namespaces of this process: "home" (10.0.0.2) behind "router", which masquerades
// 10.0.0.0/24 to its provider side 198.18.0.1/24, and "provider" (198.18.0.2). The provider has
// no route to the home: whatever reaches the home from there went through the router's NAT.
// All of it goes with the object.
class HomeRouter {
public:
    static constexpr const char* kProvider = "198.18.0.2";

    HomeRouter();
    ~HomeRouter();
    HomeRouter(const HomeRouter&) = delete;
    HomeRouter& operator=(const HomeRouter&) = delete;

    // Empty when the namespaces stand; otherwise why they could not be made.
    const QString& Failure() const { return failure_; }
    QString Home() const { return name_.arg("home"); }
    QString Provider() const { return name_.arg("provider"); }
    // The router forgets a UDP binding after this many idle seconds.
    bool ForgetUdpAfter(int seconds);
    // From now on, counts the UDP packets the router forwards besides those to and from the
    // provider's SIP port.
    bool CountMediaBesides(int sipPort);
    // UDP packets, other than SIP, the router forwarded out of the home and into it.
    int MediaOut() const { return Counter("media_out"); }
    int MediaIn() const { return Counter("media_in"); }

private:
    bool Run(const QStringList& command);
    int Counter(const QString& name) const;
    QString name_;  // "%1-<pid>"
    QString failure_;
};

// The calling thread, and the threads and processes it starts, live in the namespace `name`
// while this object does.
class InNamespace {
public:
    explicit InNamespace(const QString& name);
    ~InNamespace();
    InNamespace(const InNamespace&) = delete;
    InNamespace& operator=(const InNamespace&) = delete;
    bool Entered() const { return entered_; }

private:
    int previous_;
    bool entered_ = false;
};

}  // namespace softphone::test
