#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

namespace softphone {

// Asks a STUN server (RFC 5389 Binding) which public address and port a local UDP port shows
// outside the home router. The request leaves from that very port, through a socket of its own
// that shares it with the engine's RTP socket (both allow address reuse); connected to the
// server, it alone receives the answer. Answers once, within about 1.5 s.
class StunProbe : public QObject {
    Q_OBJECT
public:
    // `server` is "host[:port]" (3478 by default).
    StunProbe(const QString& server, quint16 localPort, QObject* parent = nullptr);
    ~StunProbe() override;

signals:
    // A null address: no answer, or the probe could not be sent.
    void answered(const QHostAddress& address, quint16 port);

private:
    void start(const QHostAddress& server);
    void send();
    void receive();
    void finish(const QHostAddress& address = {}, quint16 port = 0);

    quint16 localPort_, serverPort_;
    int socket_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QByteArray request_;
    QTimer retransmit_;
    int sent_ = 0;
    bool done_ = false;
};

}  // namespace softphone
