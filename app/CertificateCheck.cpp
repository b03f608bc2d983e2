#include "app/CertificateCheck.h"

#include <QSslConfiguration>
#include <QSslSocket>
#include <QTimer>

namespace softphone {
namespace {

QString reasonOf(const QSslError& error, const QString& host) {
    switch (error.error()) {
        case QSslError::HostNameMismatch:
            return QObject::tr("the certificate is not for %1").arg(host);
        case QSslError::CertificateExpired: return QObject::tr("the certificate has expired");
        case QSslError::CertificateNotYetValid:
            return QObject::tr("the certificate is not valid yet");
        case QSslError::CertificateRevoked: return QObject::tr("the certificate was revoked");
        case QSslError::SelfSignedCertificate:
        case QSslError::SelfSignedCertificateInChain:
        case QSslError::UnableToGetIssuerCertificate:
        case QSslError::UnableToGetLocalIssuerCertificate:
        case QSslError::UnableToVerifyFirstCertificate:
        case QSslError::CertificateUntrusted:
            return QObject::tr("the certificate is not signed by a trusted CA");
        default: return error.errorString();
    }
}

}  // namespace

CertificateCheck::CertificateCheck(const QString& host, quint16 port, const QByteArray& caPem,
                                   std::function<void(const QString&)> done, QObject* parent)
    : QObject(parent), done_(std::move(done)) {
    auto* socket = new QSslSocket(this);
    QSslConfiguration config = socket->sslConfiguration();
    config.setCaCertificates(QSslCertificate::fromData(caPem, QSsl::Pem));
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    socket->setSslConfiguration(config);
    socket->setPeerVerifyName(host);
    connect(socket, &QSslSocket::sslErrors, this, [this, host](const QList<QSslError>& errors) {
        QStringList reasons;
        for (const QSslError& error : errors) {
            const QString reason = reasonOf(error, host);
            if (!reasons.contains(reason)) reasons << reason;
        }
        finish(reasons.join(QStringLiteral("; ")));
    });
    connect(socket, &QSslSocket::encrypted, this, [this] { finish({}); });
    connect(socket, &QSslSocket::errorOccurred, this, [this] { finish({}); });
    QTimer::singleShot(5000, this, [this] { finish({}); });
    socket->connectToHostEncrypted(host, port);
}

void CertificateCheck::finish(const QString& reasons) {
    if (!done_) return;
    auto done = std::exchange(done_, nullptr);
    deleteLater();
    done(reasons);
}

}  // namespace softphone
