#include "tests/support/Sipp.h"

#include <QDir>
#include <QFile>
#include <QNetworkDatagram>
#include <utility>

#include "tests/support/SipServer.h"
#include "tests/support/Wait.h"

namespace softphone::test {

Sipp::Sipp(QString address) : address_(std::move(address)), mediaPort_(FreeUdpPort()) {}

Sipp::~Sipp() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(3000);
}

bool Sipp::Run(const QString& scenario, QStringList args) {
    port_ = FreeUdpPort();
    const QString file = QDir::isAbsolutePath(scenario)
                             ? scenario
                             : SourceDir() + QStringLiteral("/scripts/sip-service/") + scenario;
    args = QStringList{QStringLiteral("-sf"),
                       file,
                       QStringLiteral("-i"),
                       address_,
                       QStringLiteral("-p"),
                       QString::number(port_),
                       QStringLiteral("-mp"),
                       QString::number(mediaPort_),
                       QStringLiteral("-m"),
                       QStringLiteral("1"),
                       QStringLiteral("-nostdin"),
                       QStringLiteral("-timeout"),
                       QStringLiteral("30s"),
                       QStringLiteral("-trace_msg"),
                       QStringLiteral("-message_file"),
                       dir_.filePath("messages.log")} +
           args;
    process_.setWorkingDirectory(dir_.path());
    process_.setStandardOutputFile(dir_.filePath("screen.log"));
    process_.setStandardErrorFile(dir_.filePath("errors.log"));
    // Dies with the test, so a crashed test leaves no far end behind.
    process_.start(QStringLiteral("setpriv"),
                   QStringList{QStringLiteral("--pdeathsig"), QStringLiteral("KILL"),
                               QStringLiteral("/usr/bin/sipp")} +
                       args);
    if (!process_.waitForStarted(5000)) return false;
    Pump(200);  // let it bind its port
    return true;
}

bool Sipp::Refuse(const QString& status, int silenceMs) {
    QFile source(SourceDir() + QStringLiteral("/scripts/sip-service/refuse.xml"));
    QFile scenario(dir_.filePath(QStringLiteral("refuse.xml")));
    if (!source.open(QIODevice::ReadOnly) || !scenario.open(QIODevice::WriteOnly)) return false;
    scenario.write(source.readAll().replace("486 Busy Here", status.toUtf8()));
    scenario.close();
    return Run(scenario.fileName(), {QStringLiteral("-d"), QString::number(silenceMs)});
}

bool Sipp::Answer(const QStringList& extra) { return Run(QStringLiteral("answer.xml"), extra); }

bool Sipp::AnswerAndEcho() {
    return Answer({QStringLiteral("-key"), QStringLiteral("rtpport"), QString::number(mediaPort_),
                   QStringLiteral("-rtp_echo")});
}

bool Sipp::Call(const QString& proxy, const QString& user, int holdMs) {
    return Run(QStringLiteral("call.xml"),
               {QStringLiteral("-s"), user, QStringLiteral("-d"), QString::number(holdMs), proxy});
}

bool Sipp::CallAndGiveUp(const QString& proxy, const QString& user, int ringMs) {
    return Run(QStringLiteral("call-cancel.xml"),
               {QStringLiteral("-s"), user, QStringLiteral("-d"), QString::number(ringMs), proxy});
}

bool Sipp::Finished(int timeoutMs) {
    WaitUntil([this] { return process_.state() == QProcess::NotRunning; }, timeoutMs);
    return process_.state() == QProcess::NotRunning &&
           process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}

QString Sipp::Trace() const {
    QFile file(dir_.filePath("messages.log"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

RtpListener::RtpListener() {
    socket_.bind(QHostAddress::LocalHost, quint16(FreeUdpPort()));
    QObject::connect(&socket_, &QUdpSocket::readyRead, [this] { Read(); });
}

void RtpListener::Read() {
    while (socket_.hasPendingDatagrams()) {
        const QByteArray packet = socket_.receiveDatagram().data();
        if (packet.size() < 12 || (quint8(packet[0]) >> 6) != 2) continue;
        const int csrcs = quint8(packet[0]) & 0x0f;
        const int payloadType = quint8(packet[1]) & 0x7f;
        const QByteArray payload = packet.mid(12 + 4 * csrcs);
        if (payloadType == 0) {
            ++audio_;
        } else if (payloadType >= 96 && payload.size() == 4) {
            const quint32 timestamp = (quint32(quint8(packet[4])) << 24) |
                                      (quint32(quint8(packet[5])) << 16) |
                                      (quint32(quint8(packet[6])) << 8) | quint8(packet[7]);
            const QPair<quint32, int> event{timestamp, quint8(payload[0])};
            if (!events_.contains(event)) events_.append(event);
        }
    }
}

QString RtpListener::Digits() const {
    QString digits;
    for (const auto& [timestamp, event] : events_)
        digits += event < 10 ? QChar('0' + event) : event == 10 ? QChar('*') : QChar('#');
    return digits;
}

}  // namespace softphone::test
