#pragma once

#include <QString>
#include <QTemporaryDir>

#include "tests/support/Child.h"

namespace softphone::test {

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
    ~SipServer() { Stop(); }

    // Before Start: registrations last at most this long (seconds).
    void LimitExpiry(int seconds) { maxExpires_ = seconds; }
    // Before Start: TLS on a port of its own with the certificate and key of make-certs in
    // `folder`, and TCP on the UDP port.
    void UseTls(const QString& folder) { tlsFolder_ = folder; }
    // Before Start: listen on `address` instead of 127.0.0.1.
    void ListenOn(const QString& address) { address_ = address; }
    // Starts kamailio; after Stop, again on the same port with no registrations.
    bool Start();
    void Stop();
    int Port() const { return port_; }
    QString Address() const { return QStringLiteral("%1:%2").arg(address_).arg(port_); }
    QString TlsAddress() const { return QStringLiteral("%1:%2").arg(address_).arg(tlsPort_); }
    // Contacts the registrar holds for the user now (-1: no answer); with `transport`, those
    // bound over it.
    int Contacts(const QString& user, const QString& transport = {}) const;
    // The UDP port of the user's first contact; 0 when there is none.
    int ContactPort(const QString& user) const;

private:
    QString Lookup(const QString& user) const;  // kamcmd's answer
    QList<Account> accounts_;
    QList<Route> routes_;
    QTemporaryDir dir_;
    Child process_;
    QString address_ = QStringLiteral("127.0.0.1");
    int port_ = 0;
    int maxExpires_ = 0;  // none
    QString tlsFolder_;
    int tlsPort_ = 0;
};

// A private CA (`folder`/ca.pem, kept) and a server certificate it signs for `name`
// (scripts/sip-service/make-certs).
bool MakeCertificates(const QString& folder, const QString& name);

// A UDP port on 127.0.0.1 that was free a moment ago.
int FreeUdpPort();
QString SourceDir();

}  // namespace softphone::test
