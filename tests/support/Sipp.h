#pragma once

#include <QList>
#include <QTemporaryDir>
#include <QUdpSocket>

#include "tests/support/Child.h"
#include "tests/support/SipServer.h"

namespace softphone::test {

// One sipp far end on 127.0.0.1 (or `address`) running a scenario of scripts/sip-service.
class Sipp {
public:
    explicit Sipp(QString address = QStringLiteral("127.0.0.1"))
        : address_(std::move(address)), port_(FreeUdpPort()), mediaPort_(FreeUdpPort()) {}
    // Runs a scenario (a file of scripts/sip-service, or a path) on its port (see Uri()).
    bool Run(const QString& scenario, const QStringList& args = {});
    // The refusing gateway with another final status ("603 Decline"), after `silenceMs`.
    bool Refuse(const QString& status, int silenceMs);
    // Answers calls and sends its audio to `rtpPort` on loopback.
    bool Answer(int rtpPort) {
        return Run("answer.xml", {"-key", "rtpport", QString::number(rtpPort)});
    }
    // Answers and sends back the audio it receives.
    bool AnswerAndEcho();
    // Calls `user` through the proxy at `proxy` ("127.0.0.1:port"), hanging up after `holdMs`.
    bool Call(const QString& proxy, const QString& user, int holdMs = 1000) {
        return Run("call.xml", {"-s", user, "-d", QString::number(holdMs), proxy});
    }
    // Calls `user` through the proxy and gives up (CANCEL) after `ringMs` of ringing.
    bool CallAndGiveUp(const QString& proxy, const QString& user, int ringMs) {
        return Run("call-cancel.xml", {"-s", user, "-d", QString::number(ringMs), proxy});
    }
    // Waits for the scenario to end; true when it ended as written.
    bool Finished(int timeoutMs = 10000);
    int MediaPort() const { return mediaPort_; }  // where its RTP arrives and leaves
    QString Uri() const { return QStringLiteral("sip:%1:%2").arg(address_).arg(port_); }
    QString Trace() const;  // every SIP message sent and received

private:
    QTemporaryDir dir_;
    Child process_;
    QString address_;
    int port_, mediaPort_;
};

// Receives the far end's RTP and names the DTMF events in it (RFC 2833 telephone-events).
class RtpListener {
public:
    RtpListener();
    int Port() const { return socket_.localPort(); }
    int AudioPackets() const { return audio_; }
    QString Digits() const { return digits_; }  // "1*#" for the events 1, 10 and 11, in order

private:
    QUdpSocket socket_;
    int audio_ = 0;
    QString digits_;
    QList<quint32> eventTimes_;  // RTP timestamps of the events named, one per key press
};

}  // namespace softphone::test
