#include "tests/support/SipServer.h"

#include <QRegularExpression>
#include <QTcpServer>
#include <QUdpSocket>

#include "tests/support/Wait.h"

namespace softphone::test {

int FreeUdpPort() {
    QUdpSocket socket;
    return socket.bind(QHostAddress::LocalHost, 0) ? socket.localPort() : 0;
}

bool MakeCertificates(const QString& folder, const QString& name) {
    int status = -1;
    Output(SourceDir() + "/scripts/sip-service/make-certs", {folder, name}, &status);
    return status == 0;
}

QString SourceDir() { return QStringLiteral(SOFTPHONE_SOURCE_DIR); }

bool SipServer::Start() {
    if (port_ == 0) port_ = FreeUdpPort();  // a server started again keeps its port
    QStringList args{"--dir",         dir_.path(),
                     "--address",     address_,
                     "--port",        QString::number(port_),
                     "--max-expires", QString::number(maxExpires_)};
    for (const Account& a : accounts_) args << "--account" << a.user + ':' + a.password;
    for (const Route& r : routes_) args << "--route" << r.number + '=' + r.target;
    if (!tlsFolder_.isEmpty()) {
        QTcpServer probe;
        tlsPort_ = probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
        args << "--tls-port" << QString::number(tlsPort_) << "--cert" << tlsFolder_ + "/server.pem"
             << "--key" << tlsFolder_ + "/server.key";
    }
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardOutputFile(dir_.filePath("kamailio.log"));
    process_.start(SourceDir() + "/scripts/sip-service/run-kamailio", args);
    // Ready once its control socket answers.
    return process_.waitForStarted(5000) &&
           WaitUntil([this] { return Contacts("nobody") == 0; }, 10000);
}

void SipServer::Stop() {
    const qint64 group = process_.processId();  // run-kamailio makes it a group leader
    process_.End();
    // Workers block SIGTERM and outlive a main process that did not stop them.
    if (group > 0) ::kill(-pid_t(group), SIGKILL);
}

QString SipServer::Lookup(const QString& user) const {
    return Output("/usr/sbin/kamcmd", {"-s", "unix:" + dir_.filePath("kamailio.ctl"), "ul.lookup",
                                       "location", "s:" + user});
}

int SipServer::Contacts(const QString& user, const QString& transport) const {
    const QString reply = Lookup(user);
    if (reply.contains("AOR not found")) return 0;  // a live server that knows no contact
    if (!reply.contains("AoR")) return -1;          // no server behind the socket, or another error
    return int(reply.count(
        QRegularExpression("Address:.*" + (transport.isEmpty() ? "" : ";transport=" + transport))));
}

int SipServer::ContactPort(const QString& user) const {
    static const QRegularExpression address(R"(Address: sip:[^@\s]*@[^:;>\s]*:(\d+))");
    return address.match(Lookup(user)).captured(1).toInt();
}

}  // namespace softphone::test
