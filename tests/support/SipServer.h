#pragma once

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUdpSocket>

#include "tests/support/Child.h"
#include "tests/support/Wait.h"

namespace softphone::test {

inline QString sourceDir() { return QStringLiteral(SOFTPHONE_SOURCE_DIR); }

// A UDP port on 127.0.0.1 held (with `alsoFree`, further ports at these offsets from it) until
// release(), for a program a test is about to start. Even ports from 20000 to 32000: the kernel's
// picks for other programs' sockets (32768 and up) and the phone's audio (below 20000) never land
// there, so a server that starts seconds after the draw still finds its ports free. Not shared: a
// bind with SO_REUSEADDR (Qt's default) may be given a port that a running kamailio holds.
class HeldPort {
public:
    explicit HeldPort(std::initializer_list<int> alsoFree = {}) {
        for (int attempt = 0; attempt < 100 && port_ == 0; ++attempt) {
            const int port = 20000 + 2 * int(QRandomGenerator::global()->bounded(6000));
            bool free = true;
            held_.clear();
            for (const int offset : QList<int>{0} + QList<int>(alsoFree)) {
                held_.push_back(std::make_unique<QUdpSocket>());
                free = free && held_.back()->bind(QHostAddress::LocalHost, quint16(port + offset),
                                                  QAbstractSocket::DontShareAddress);
            }
            if (free) port_ = port;
        }
    }
    int port() const { return port_; }
    void release() { held_.clear(); }

private:
    std::vector<std::unique_ptr<QUdpSocket>> held_;
    int port_ = 0;
};

// A UDP port on 127.0.0.1 that was free a moment ago, from the range no other program is given.
inline int freeUdpPort() { return HeldPort().port(); }

// A private CA (`folder`/ca.pem, kept) and a server certificate it signs for `name`
// (scripts/sip-service/make-certs).
inline bool makeCertificates(const QString& folder, const QString& name) {
    int status = -1;
    output(sourceDir() + "/scripts/sip-service/make-certs", {folder, name}, &status);
    return status == 0;
}

// A kamailio registrar and proxy (scripts/sip-service/run-kamailio) on a free port of 127.0.0.1
// (or another address), for one test.
class SipServer {
public:
    struct Account {
        QString user, password;
    };
    struct Route {
        QString number, target;
    };

    SipServer(QList<Account> accounts, QList<Route> routes = {})
        : accounts_(std::move(accounts)), routes_(std::move(routes)) {}
    ~SipServer() { stop(); }

    // Before Start: registrations last at most this long (seconds).
    void limitExpiry(int seconds) { maxExpires_ = seconds; }
    // Before Start: TLS on a port of its own with the certificate and key of make-certs in
    // `folder`, and TCP on the UDP port.
    void useTls(const QString& folder) { tlsFolder_ = folder; }
    // Before Start: listen on `address` instead of 127.0.0.1.
    void listenOn(const QString& address) { address_ = address; }
    // Starts kamailio, ready once its control socket answers; after Stop, again on the same port
    // with no registrations.
    bool start() {
        if (port_ == 0) port_ = freeUdpPort();
        QStringList args{"--dir", dir_.path(), "--address", address_};
        args += {"--port", QString::number(port_), "--max-expires", QString::number(maxExpires_)};
        for (const Account& a : accounts_) args << "--account" << a.user + ':' + a.password;
        for (const Route& r : routes_) args << "--route" << r.number + '=' + r.target;
        if (!tlsFolder_.isEmpty()) {
            tlsPort_ = freeUdpPort();  // no TCP client is given a port from its range either
            args += {"--tls-port", QString::number(tlsPort_), "--cert", tlsFolder_ + "/server.pem"};
            args += {"--key", tlsFolder_ + "/server.key"};
        }
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.setStandardOutputFile(dir_.filePath("kamailio.log"));
        process_.start(sourceDir() + "/scripts/sip-service/run-kamailio", args);
        return process_.waitForStarted(5000) &&
               waitUntil([this] { return contacts("nobody") == 0; }, 10000);
    }
    void stop() {
        const qint64 group = process_.processId();  // run-kamailio makes it a group leader
        process_.end();
        // Workers block SIGTERM and outlive a main process that did not stop them.
        if (group > 0) ::kill(-pid_t(group), SIGKILL);
    }
    int port() const { return port_; }
    QString address() const { return QStringLiteral("%1:%2").arg(address_).arg(port_); }
    QString tlsAddress() const { return QStringLiteral("%1:%2").arg(address_).arg(tlsPort_); }
    // Contacts the registrar holds for the user now (-1: no answer); with `transport`, those
    // bound over it.
    int contacts(const QString& user, const QString& transport = {}) const {
        const QString reply = lookup(user);
        if (reply.contains("AOR not found")) return 0;  // a live server that knows no contact
        if (!reply.contains("AoR")) return -1;  // no server behind the socket, or another error
        return int(reply.count(QRegularExpression(
            "Address:.*" + (transport.isEmpty() ? "" : ";transport=" + transport))));
    }
    // The UDP port of the user's first contact; 0 when there is none.
    int contactPort(const QString& user) const {
        static const QRegularExpression address(R"(Address: sip:[^@\s]*@[^:;>\s]*:(\d+))");
        return address.match(lookup(user)).captured(1).toInt();
    }

    // Whether it still runs and the end of what it logged: for failure reports.
    QString report() const {
        return (process_.state() == QProcess::Running ? "kamailio runs\n" : "kamailio ended\n") +
               QString::fromUtf8(fileBytes(dir_.filePath("kamailio.log")).right(4000));
    }

private:
    QString lookup(const QString& user) const {
        return output("/usr/sbin/kamcmd", {"-s", "unix:" + dir_.filePath("kamailio.ctl"),
                                           "ul.lookup", "location", "s:" + user});
    }
    QList<Account> accounts_;
    QList<Route> routes_;
    QTemporaryDir dir_;
    Child process_;
    QString address_ = QStringLiteral("127.0.0.1");
    int port_ = 0, tlsPort_ = 0;
    int maxExpires_ = 0;  // none
    QString tlsFolder_;
};

}  // namespace softphone::test
