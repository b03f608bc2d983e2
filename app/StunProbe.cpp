#include "app/StunProbe.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QHostInfo>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QtEndian>
#include <array>

#include "app/PhoneLog.h"

namespace softphone {
namespace {

constexpr quint32 kMagicCookie = 0x2112a442;
constexpr quint16 kBindingRequest = 0x0001, kBindingSuccess = 0x0101;
constexpr quint16 kMappedAddress = 0x0001, kXorMappedAddress = 0x0020;
// RFC 5389's retransmissions, shortened: a caller is waiting.
constexpr std::array kRetransmitMs{100, 200, 400, 800};

}  // namespace

StunProbe::StunProbe(const QString& server, quint16 localPort, QObject* parent)
    : QObject(parent), localPort_(localPort) {
    const QString host = server.section(':', 0, 0);
    serverPort_ = quint16(server.section(':', 1, 1).toUInt());
    if (serverPort_ == 0) serverPort_ = 3478;
    retransmit_.setSingleShot(true);
    connect(&retransmit_, &QTimer::timeout, this, &StunProbe::send);
    QHostInfo::lookupHost(host, this, [this](const QHostInfo& info) {
        for (const QHostAddress& address : info.addresses())
            if (address.protocol() == QAbstractSocket::IPv4Protocol) return start(address);
        qCWarning(lcPhone) << "STUN server not found:" << info.errorString();
        finish();
    });
}

StunProbe::~StunProbe() {
    if (socket_ >= 0) ::close(socket_);
}

void StunProbe::start(const QHostAddress& server) {
    socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int reuse = 1;
    sockaddr_in local{}, remote{};
    local.sin_family = remote.sin_family = AF_INET;
    local.sin_port = htons(localPort_);
    remote.sin_port = htons(serverPort_);
    remote.sin_addr.s_addr = htonl(server.toIPv4Address());
    if (socket_ < 0 || ::setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) != 0 ||
        ::bind(socket_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        ::connect(socket_, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
        qCWarning(lcPhone) << "STUN probe of port" << localPort_ << "not sent:" << strerror(errno);
        return finish();
    }
    request_.resize(20);
    qToBigEndian(kBindingRequest, request_.data());
    qToBigEndian(quint16(0), request_.data() + 2);
    qToBigEndian(kMagicCookie, request_.data() + 4);
    for (int i = 8; i < 20; ++i) request_[i] = char(QRandomGenerator::global()->bounded(256));
    notifier_ = new QSocketNotifier(socket_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &StunProbe::receive);
    send();
}

void StunProbe::send() {
    if (sent_ == int(kRetransmitMs.size())) return finish();
    if (::send(socket_, request_.constData(), size_t(request_.size()), 0) < 0)
        qCWarning(lcPhone) << "STUN probe:" << strerror(errno);
    retransmit_.start(kRetransmitMs[size_t(sent_++)]);
}

void StunProbe::receive() {
    char reply[548];
    const ssize_t size = ::recv(socket_, reply, sizeof reply, 0);
    if (size < 20 || qFromBigEndian<quint16>(reply) != kBindingSuccess ||
        QByteArray(reply + 4, 16) != request_.mid(4, 16))
        return;
    const qsizetype end = qMin<qsizetype>(size, 20 + qFromBigEndian<quint16>(reply + 2));
    for (qsizetype at = 20; at + 4 <= end;) {
        const quint16 type = qFromBigEndian<quint16>(reply + at);
        const quint16 length = qFromBigEndian<quint16>(reply + at + 2);
        const char* value = reply + at + 4;
        if ((type == kXorMappedAddress || type == kMappedAddress) && length >= 8 &&
            at + 4 + length <= end && value[1] == 1) {  // IPv4
            const bool xored = type == kXorMappedAddress;
            const quint16 port = qFromBigEndian<quint16>(value + 2) ^ (xored ? 0x2112 : 0);
            const quint32 ip = qFromBigEndian<quint32>(value + 4) ^ (xored ? kMagicCookie : 0);
            return finish(QHostAddress(ip), port);
        }
        at += 4 + ((length + 3) & ~3);
    }
}

void StunProbe::finish(const QHostAddress& address, quint16 port) {
    if (std::exchange(done_, true)) return;
    retransmit_.stop();
    delete notifier_;
    notifier_ = nullptr;
    if (socket_ >= 0) ::close(std::exchange(socket_, -1));
    emit answered(address, port);
}

}  // namespace softphone
