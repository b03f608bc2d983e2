#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace softphone {

// Names why a TLS server's certificate does not verify: a handshake of its own against the same
// trusted CAs as the engine, sending nothing, for the message the user sees when the engine's
// connection was refused (the engine itself tells no reason).
class CertificateCheck : public QObject {
public:
    // Calls `done` once, with the reasons joined, or empty when the certificate verifies or the
    // server could not be reached. `caPem` holds the trusted CAs.
    CertificateCheck(const QString& host, quint16 port, const QByteArray& caPem,
                     std::function<void(const QString& reasons)> done, QObject* parent);

private:
    void finish(const QString& reasons);
    std::function<void(const QString&)> done_;
};

}  // namespace softphone
