#pragma once

#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QUdpSocket>

namespace softphone::test {

// One sipp far end on 127.0.0.1 (or `address`) running a scenario of scripts/sip-service.
class Sipp {
public:
    explicit Sipp(QString address = QStringLiteral("127.0.0.1"));
    ~Sipp();
    // Runs a far-end scenario of scripts/sip-service on a free port (see Port()).
    bool Run(const QString& scenario, QStringList args = {});
    // Runs the refusing gateway with another final status ("603 Decline").
    bool Refuse(const QString& status, int silenceMs);
    // Answers calls.
    bool Answer(const QStringList& extra = {});
    // Answers and sends back the audio it receives.
    bool AnswerAndEcho();
    // Calls `user` through the proxy at `proxy` ("127.0.0.1:port"), hanging up after `holdMs`.
    bool Call(const QString& proxy, const QString& user, int holdMs = 1000);
    // Calls `user` through the proxy and gives up (CANCEL) after `ringMs` of ringing.
    bool CallAndGiveUp(const QString& proxy, const QString& user, int ringMs);
    // Waits for the scenario to end; true when it ended as written.
    bool Finished(int timeoutMs = 10000);
    int Port() const { return port_; }
    QString Uri() const { return QStringLiteral("sip:%1:%2").arg(address_).arg(port_); }
    QString Trace() const;  // every SIP message sent and received

private:
    QTemporaryDir dir_;
    QProcess process_;
    QString address_;
    int port_ = 0;
    int mediaPort_;
};

// Receives the far end's RTP and names the DTMF events in it (RFC 2833 telephone-events).
class RtpListener {
public:
    RtpListener();
    int Port() const { return socket_.localPort(); }
    int AudioPackets() const { return audio_; }
    QString Digits() const;  // "1*#" for the events 1, 10 and 11, in order

private:
    void Read();
    QUdpSocket socket_;
    int audio_ = 0;
    QList<QPair<quint32, int>> events_;  // (RTP timestamp, event)
};

}  // namespace softphone::test
