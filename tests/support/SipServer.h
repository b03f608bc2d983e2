#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace softphone::test {

// A kamailio registrar and proxy on a free 127.0.0.1 port, for one test.
class SipServer {
public:
    struct Account {
        QString user, password;
    };
    struct Route {
        QString number, target;
    };

    SipServer(QList<Account> accounts, QList<Route> routes = {});
    ~SipServer();

    // Registrations last at most this long (seconds); from the next Start.
    void LimitExpiry(int seconds) { maxExpires_ = seconds; }
    // Starts kamailio; after Stop, again on the same port with no registrations.
    bool Start();
    void Stop();
    int Port() const { return port_; }
    QString Address() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }
    // Contacts the registrar holds for the user now.
    int Contacts(const QString& user) const;
    // The UDP port of the user's first contact; 0 when there is none.
    int ContactPort(const QString& user) const;

private:
    QString Lookup(const QString& user) const;  // kamcmd's answer
    QList<Account> accounts_;
    QList<Route> routes_;
    QTemporaryDir dir_;
    QProcess process_;
    int port_ = 0;
    int maxExpires_ = 0;  // none
};

// A UDP port on 127.0.0.1 that was free a moment ago.
int FreeUdpPort();
QString SourceDir();

}  // namespace softphone::test
