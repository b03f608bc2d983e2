#pragma once

#include <QDir>
#include <QList>
#include <QNetworkDatagram>
#include <QTemporaryDir>
#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

#include "tests/support/Child.h"
#include "tests/support/SipServer.h"
#include "tests/support/ToneListener.h"
#include "tests/support/Wait.h"

namespace softphone::test {

// One sipp far end on 127.0.0.1 (or `address`) running a scenario of scripts/sip-service.
class Sipp {
public:
    explicit Sipp(QString address = QStringLiteral("127.0.0.1")) : address_(std::move(address)) {}
    // Runs a scenario (a file of scripts/sip-service, or a path) on its port (see Uri()); true
    // once it holds the port (looked up without touching it: a probe's bind could take it from
    // sipp for a moment).
    bool run(const QString& scenario, const QStringList& args = {}) {
        port_.release();
        media_.release();
        process_.setWorkingDirectory(dir_.path());
        process_.setStandardOutputFile(dir_.filePath("screen.log"));
        process_.setStandardErrorFile(dir_.filePath("errors.log"));
        process_.start(
            "/usr/bin/sipp",
            QStringList{"-sf", QDir(sourceDir() + "/scripts/sip-service").filePath(scenario), "-i",
                        address_, "-p", QString::number(port_.port()), "-mp",
                        QString::number(mediaPort()), "-m", "1", "-nostdin", "-timeout", "30s",
                        "-trace_msg", "-message_file", dir_.filePath("messages.log")} +
                args);
        const QByteArray bound =
            ':' + QByteArray::number(port_.port(), 16).toUpper().rightJustified(4, '0');
        return process_.waitForStarted(5000) && waitUntil([&] {
                   return fileBytes("/proc/thread-self/net/udp").contains(bound + ' ');
               });
    }
    // Runs `scenario` with `to` in place of the text `from` in it.
    bool runReplacing(const QString& scenario, const QByteArray& from, const QByteArray& to,
                      const QStringList& args) {
        QFile source(sourceDir() + "/scripts/sip-service/" + scenario);
        QFile edited(dir_.filePath(scenario));
        if (!source.open(QIODevice::ReadOnly) || !edited.open(QIODevice::WriteOnly)) return false;
        edited.write(source.readAll().replace(from, to));
        edited.close();
        return run(edited.fileName(), args);
    }
    // Calls as Call does, and from a second after the answer on plays a tone for `holdMs` to the
    // address in the phone's session description, as a gateway does that does not latch onto
    // where the audio comes from. The second stands in for the distance to a real gateway: audio
    // that reaches a Linux router before the phone's first packet has gone out is taken as the
    // router's own, and the port stays taken for it while the audio goes on.
    bool callPlaying(const QString& proxy, const QString& user, int holdMs) {
        // A second of a square wave, 8 kHz mu-law.
        const QString tone = sourceDir() + "/tests/data/sounds/square-mulaw.wav";
        return runReplacing("call.xml", "<pause />",
                            "<pause milliseconds=\"1000\" /><nop><action><exec rtp_stream=\"" +
                                tone.toUtf8() + ",-1,0\" /></action></nop><pause />",
                            {"-s", user, "-d", QString::number(holdMs), proxy});
    }
    // Answers calls and sends its audio to `rtpPort` on loopback.
    bool answer(int rtpPort) {
        return run("answer.xml", {"-key", "rtpport", QString::number(rtpPort)});
    }
    // Answers and sends back the audio it receives.
    bool answerAndEcho() {
        return run("answer.xml", {"-rtp_echo", "-key", "rtpport", QString::number(mediaPort())});
    }
    // Calls `user` through the proxy at `proxy` ("127.0.0.1:port"), hanging up after `holdMs`.
    bool call(const QString& proxy, const QString& user, int holdMs = 1000) {
        return run("call.xml", {"-s", user, "-d", QString::number(holdMs), proxy});
    }
    // Waits for the scenario to end; true when it ended as written.
    bool finished(int timeoutMs = 10000) {
        return waitUntil([this] { return process_.state() == QProcess::NotRunning; }, timeoutMs) &&
               process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
    }
    int mediaPort() const { return media_.port(); }  // where its RTP arrives and leaves
    QString uri() const { return QStringLiteral("sip:%1:%2").arg(address_).arg(port_.port()); }
    // Every SIP message sent and received.
    QString trace() const { return QString::fromUtf8(fileBytes(dir_.filePath("messages.log"))); }

    // Whether it still runs, what it wrote to stderr, and every message: for failure reports.
    QString report() const {
        const QString ran = process_.state() != QProcess::NotRunning
                                ? QStringLiteral("still running\n")
                                : QStringLiteral("ended with status %1\n").arg(process_.exitCode());
        return ran + fileBytes(dir_.filePath("errors.log")) + trace();
    }

private:
    QTemporaryDir dir_;
    Child process_;
    QString address_;
    HeldPort port_, media_{2};  // sipp binds the video port beside the audio one
};

inline std::ostream& operator<<(std::ostream& out, const Sipp& sipp) {
    return out << sipp.report().toStdString();
}

// A G.711 mu-law sample as an unsigned 8-bit one.
inline quint8 fromMuLaw(quint8 code) {
    code = ~code;
    const int magnitude = ((((code & 0x0f) << 3) + 0x84) << ((code >> 4) & 7)) - 0x84;
    return quint8(128 + ((code & 0x80) ? -magnitude : magnitude) / 256);
}

// Receives the far end's RTP and names the DTMF events in it (RFC 2833 telephone-events) and the
// key tones in its PCMU audio.
class RtpListener {
public:
    RtpListener() {
        socket_.bind(QHostAddress::LocalHost, quint16(freeUdpPort()));
        QObject::connect(&socket_, &QUdpSocket::readyRead, [this] {
            while (socket_.hasPendingDatagrams()) {
                const QByteArray packet = socket_.receiveDatagram().data();
                if (packet.size() < 12 || (quint8(packet[0]) >> 6) != 2) continue;
                const int payloadType = quint8(packet[1]) & 0x7f;
                const QByteArray payload = packet.mid(12 + 4 * (quint8(packet[0]) & 0x0f));
                const quint32 time = qFromBigEndian<quint32>(packet.constData() + 4);
                if (payloadType == 0) {
                    ++audio_;
                    for (const char byte : payload) samples_ += char(fromMuLaw(quint8(byte)));
                } else if (payloadType >= 96 && payload.size() == 4 &&
                           !eventTimes_.contains(time)) {
                    // An event is sent several times, all with the timestamp of its start.
                    eventTimes_ << time;
                    digits_ += QLatin1Char("0123456789*#"[quint8(payload[0]) % 12]);
                }
            }
        });
    }
    int port() const { return socket_.localPort(); }
    // Sends PCMU silence to `port` on loopback every 20 ms, leaving out every `gap`th packet, as
    // a line that loses 1 in `gap` does.
    void sendLosing(quint16 port, int gap) {
        QObject::connect(&sender_, &QTimer::timeout, [this, port, gap] {
            QByteArray packet =
                QByteArray::fromHex("80000000000000000000abcd") + QByteArray(160, char(0xff));
            qToBigEndian<quint16>(quint16(sent_), packet.data() + 2);
            qToBigEndian<quint32>(quint32(sent_ * 160), packet.data() + 4);
            if (++sent_ % gap != 0) socket_.writeDatagram(packet, QHostAddress::LocalHost, port);
        });
        sender_.start(20);
    }
    int audioPackets() const { return audio_; }
    QString digits() const { return digits_; }  // "1*#" for the events 1, 10 and 11, in order
    QString tones() const { return keysOf(hearTones(samples_)); }  // the keys heard in the audio
    // The amplitude of `hz` in the last 100 ms of the audio (a full-scale sine: 128).
    double level(double hz) const {
        return samples_.size() < 800 ? 0 : toneAmplitude(samples_.right(800).constData(), 800, hz);
    }

private:
    QUdpSocket socket_;
    QTimer sender_;
    int sent_ = 0;
    int audio_ = 0;
    QString digits_;
    QByteArray samples_;         // of the PCMU audio, as unsigned 8-bit samples
    QList<quint32> eventTimes_;  // RTP timestamps of the events named, one per key press
};

}  // namespace softphone::test
