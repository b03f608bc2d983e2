#include "tests/support/SipServer.h"

#include <signal.h>

#include <QFile>
#include <QRegularExpression>
#include <QTcpServer>
#include <QUdpSocket>

#include "tests/support/Wait.h"

namespace softphone::test {

int FreeUdpPort() {
    QUdpSocket socket;
    if (!socket.bind(QHostAddress::LocalHost, 0)) return 0;
    return socket.localPort();
}

int FreeTcpPort() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0)) return 0;
    return server.serverPort();
}

bool MakeCertificates(const QString& folder, const QString& name) {
    QProcess make;
    make.start(SourceDir() + QStringLiteral("/scripts/sip-service/make-certs"), {folder, name});
    return make.waitForFinished(10000) && make.exitStatus() == QProcess::NormalExit &&
           make.exitCode() == 0;
}

QString SourceDir() { return QStringLiteral(SOFTPHONE_SOURCE_DIR); }

SipServer::SipServer(QList<Account> accounts, QList<Route> routes)
    : accounts_(std::move(accounts)), routes_(std::move(routes)) {}

SipServer::~SipServer() { Stop(); }

bool SipServer::Start() {
    if (port_ == 0) port_ = FreeUdpPort();  // a server started again keeps its port
    QStringList args{QStringLiteral("--dir"),     dir_.path(),
                     QStringLiteral("--address"), address_,
                     QStringLiteral("--port"),    QString::number(port_)};
    for (const Account& a : accounts_)
        args << QStringLiteral("--account") << a.user + ':' + a.password;
    for (const Route& r : routes_) args << QStringLiteral("--route") << r.number + '=' + r.target;
    args << QStringLiteral("--max-expires") << QString::number(maxExpires_);
    if (!tlsFolder_.isEmpty()) {
        tlsPort_ = FreeTcpPort();
        args << QStringLiteral("--tls-port") << QString::number(tlsPort_)
             << QStringLiteral("--cert") << tlsFolder_ + QStringLiteral("/server.pem")
             << QStringLiteral("--key") << tlsFolder_ + QStringLiteral("/server.key");
    }
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardOutputFile(dir_.filePath(QStringLiteral("kamailio.log")));
    process_.start(SourceDir() + QStringLiteral("/scripts/sip-service/run-kamailio"), args);
    if (!process_.waitForStarted(5000)) return false;
    // Ready once its control socket answers.
    return WaitUntil([this] { return Contacts(QStringLiteral("nobody")) == 0; }, 10000);
}

void SipServer::Stop() {
    if (process_.state() == QProcess::NotRunning) return;
    const qint64 group = process_.processId();  // run-kamailio makes it a group leader
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
    // Workers block SIGTERM and outlive a main process that did not stop them.
    if (group > 0) ::kill(-pid_t(group), SIGKILL);
}

QString SipServer::Lookup(const QString& user) const {
    QProcess kamcmd;
    kamcmd.start(
        QStringLiteral("/usr/sbin/kamcmd"),
        {QStringLiteral("-s"), QStringLiteral("unix:") + dir_.filePath("kamailio.ctl"),
         QStringLiteral("ul.lookup"), QStringLiteral("location"), QStringLiteral("s:") + user});
    if (!kamcmd.waitForFinished(3000)) return QString();
    return QString::fromUtf8(kamcmd.readAllStandardOutput() + kamcmd.readAllStandardError());
}

int SipServer::Contacts(const QString& user, const QString& transport) const {
    const QString reply = Lookup(user);
    if (reply.contains("AOR not found")) return 0;  // a live server that knows no contact
    if (!reply.contains("AoR")) return -1;          // no server behind the socket, or another error
    if (transport.isEmpty()) return int(reply.count("Address:"));
    int count = 0;
    for (const QString& line : reply.split(QLatin1Char('\n')))
        count += line.contains(QStringLiteral("Address:")) &&
                 line.contains(QStringLiteral(";transport=") + transport);
    return count;
}

int SipServer::ContactPort(const QString& user) const {
    static const QRegularExpression address(
        QStringLiteral("Address: sip:[^@\\s]*@[^:;>\\s]*:(\\d+)"));
    return address.match(Lookup(user)).captured(1).toInt();
}

}  // namespace softphone::test
