#include "tests/support/Sipp.h"

#include <QDir>
#include <QFile>
#include <QNetworkDatagram>
#include <QtEndian>

#include "tests/support/Wait.h"

namespace softphone::test {

bool Sipp::Run(const QString& scenario, const QStringList& args) {
    const QString file = QDir(SourceDir() + "/scripts/sip-service").filePath(scenario);
    process_.setWorkingDirectory(dir_.path());
    process_.setStandardOutputFile(dir_.filePath("screen.log"));
    process_.setStandardErrorFile(dir_.filePath("errors.log"));
    process_.start(
        "/usr/bin/sipp",
        QStringList{"-sf", file, "-i", address_, "-p", QString::number(port_), "-mp",
                    QString::number(mediaPort_), "-m", "1", "-nostdin", "-timeout", "30s",
                    "-trace_msg", "-message_file", dir_.filePath("messages.log")} +
            args);
    // Ready once it holds its port (looked up without touching the port: a probe's bind could
    // take it from sipp for a moment).
    const QByteArray bound = ':' + QByteArray::number(port_, 16).toUpper().rightJustified(4, '0');
    return process_.waitForStarted(5000) && WaitUntil([&] {
               QFile udp("/proc/thread-self/net/udp");
               return udp.open(QIODevice::ReadOnly) && udp.readAll().contains(bound + ' ');
           });
}

bool Sipp::Refuse(const QString& status, int silenceMs) {
    QFile source(SourceDir() + "/scripts/sip-service/refuse.xml");
    QFile scenario(dir_.filePath("refuse.xml"));
    if (!source.open(QIODevice::ReadOnly) || !scenario.open(QIODevice::WriteOnly)) return false;
    scenario.write(source.readAll().replace("486 Busy Here", status.toUtf8()));
    scenario.close();
    return Run(scenario.fileName(), {"-d", QString::number(silenceMs)});
}

bool Sipp::AnswerAndEcho() {
    return Run("answer.xml", {"-rtp_echo", "-key", "rtpport", QString::number(mediaPort_)});
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
    QObject::connect(&socket_, &QUdpSocket::readyRead, [this] {
        while (socket_.hasPendingDatagrams()) {
            const QByteArray packet = socket_.receiveDatagram().data();
            if (packet.size() < 12 || (quint8(packet[0]) >> 6) != 2) continue;
            const int payloadType = quint8(packet[1]) & 0x7f;
            const QByteArray payload = packet.mid(12 + 4 * (quint8(packet[0]) & 0x0f));
            const quint32 time = qFromBigEndian<quint32>(packet.constData() + 4);
            if (payloadType == 0) {
                ++audio_;
            } else if (payloadType >= 96 && payload.size() == 4 && !eventTimes_.contains(time)) {
                // An event is sent several times, all with the timestamp of its start.
                eventTimes_ << time;
                const int event = quint8(payload[0]);
                digits_ += event < 10 ? QChar('0' + event) : event == 10 ? QChar('*') : QChar('#');
            }
        }
    });
}

}  // namespace softphone::test
