#include "app/SipStream.h"

#include <bctoolbox/crypto.h>
#include <bctoolbox/port.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <QHostAddress>
#include <QLoggingCategory>
#include <atomic>
#include <map>
#include <mutex>

#include "app/InfoAnswers.h"
#include "app/SipBounds.h"
#include "app/TlsAddressNames.h"

namespace softphone {

namespace {

Q_LOGGING_CATEGORY(lcSipStream, "softphone.sip")

constexpr std::string_view kHeaderEnd = "\r\n\r\n";

}  // namespace

bool SipStreamBounds::take(std::string_view bytes) {
    while (!broken_ && !bytes.empty()) {
        if (bodyLeft_ > 0) {
            const std::size_t body = std::min(bodyLeft_, bytes.size());
            bodyLeft_ -= body;
            bytes.remove_prefix(body);
        } else if (header_.empty() && (bytes[0] == '\r' || bytes[0] == '\n')) {
            bytes.remove_prefix(1);  // keep-alives between messages
        } else {
            broken_ = !takeHeader(bytes);
        }
    }
    return !broken_;
}

// Takes the bytes of `bytes` that belong to the header under way; false when it breaks a bound.
bool SipStreamBounds::takeHeader(std::string_view& bytes) {
    const std::size_t before = header_.size();
    header_ += bytes;
    const std::size_t end = header_.find(kHeaderEnd, before < 3 ? 0 : before - 3);
    if (end == std::string::npos) {
        bytes = {};
        const std::size_t lineStart = header_.rfind("\r\n");
        const std::size_t partialLine =
            header_.size() - (lineStart == std::string::npos ? 0 : lineStart + 2);
        return header_.size() <= kMaxSipMessage && partialLine <= kMaxSipHeaderLine;
    }
    bytes.remove_prefix(end + kHeaderEnd.size() - before);
    const std::string_view header(header_.data(), end + 2);
    const std::size_t firstLineEnd = header.find("\r\n");
    const std::optional<long> length = sipContentLength(header.substr(firstLineEnd + 2));
    const bool within = withinSipBounds(header) && length.value_or(0) >= 0 &&
                        std::size_t(length.value_or(0)) <= kMaxSipMessage;
    bodyLeft_ = within ? std::size_t(length.value_or(0)) : 0;
    if (within) noteInfoAnswer(header);
    header_.clear();
    return within;
}

namespace {

// The connection a stream socket holds now: a descriptor is used again for later connections.
struct Connection {
    std::string peer;
    int localPort = 0;
    bool operator==(const Connection&) const = default;
};

Connection connectionOf(int socket) {
    sockaddr_storage local = {}, peer = {};
    socklen_t localSize = sizeof local, peerSize = sizeof peer;
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&local), &localSize) != 0 ||
        ::getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0)
        return {};
    const QHostAddress peerAddress(reinterpret_cast<sockaddr*>(&peer));
    const auto port = [](const sockaddr_storage& a) {
        return a.ss_family == AF_INET6 ? ntohs(reinterpret_cast<const sockaddr_in6&>(a).sin6_port)
                                       : ntohs(reinterpret_cast<const sockaddr_in&>(a).sin_port);
    };
    return {peerAddress.toString().toStdString() + ':' + std::to_string(port(peer)), port(local)};
}

bool isStream(int socket) {
    int type = 0;
    socklen_t size = sizeof type;
    return ::getsockopt(socket, SOL_SOCKET, SO_TYPE, &type, &size) == 0 && type == SOCK_STREAM;
}

struct Stream {
    Connection connection;
    bool tls = false;  // its bytes are TLS records, followed once decrypted
    SipStreamBounds bounds;
};

std::mutex gStreamsMutex;
std::map<int, Stream> gStreams;          // by socket
std::map<const void*, int> gTlsSockets;  // the socket of each TLS context
std::atomic<unsigned> gClosed = 0;
thread_local bool tInTls = false;  // within a TLS call: reads are records
thread_local int tTlsSocket = -1;  // the socket such a call read from

// The stream on `socket`, begun afresh when the descriptor holds another connection now.
Stream& streamOn(int socket) {
    const Connection connection = connectionOf(socket);
    Stream& stream = gStreams[socket];
    if (!(stream.connection == connection)) stream = Stream{connection, false, {}};
    return stream;
}

// Whether `bytes` that arrived on `socket` keep its stream within bounds; logs the one time
// they do not, as the connection then closes.
bool streamTakes(int socket, std::string_view bytes) {
    const std::lock_guard lock(gStreamsMutex);
    Stream& stream = streamOn(socket);
    if (stream.bounds.take(bytes)) return true;
    ++gClosed;
    qCInfo(lcSipStream) << "Closed the SIP connection from"
                        << QString::fromStdString(stream.connection.peer)
                        << "whose message breaks the bounds of a SIP message";
    return false;
}

// Runs a TLS call of bctoolbox, learning which socket the context reads from.
template <typename Call>
int32_t inTls(const bctbx_ssl_context_t* context, Call call) {
    tInTls = true;
    tTlsSocket = -1;
    const int32_t result = call();
    tInTls = false;
    const std::lock_guard lock(gStreamsMutex);
    if (tTlsSocket >= 0) {
        if (gTlsSockets.size() > 1000) gTlsSockets.clear();
        gTlsSockets[context] = tTlsSocket;
    }
    return result;
}

}  // namespace

unsigned closedSipStreams() { return gClosed; }

namespace {

template <typename Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

}  // namespace softphone

// belle-sip reads its TCP connections through bctbx_recv and its TLS ones through
// bctbx_ssl_read (whose records come through bctbx_recv in turn); the program's definitions come
// first in the process's symbol lookup (the build exports them), so every stream is followed by
// SipStreamBounds and closed, as if by its peer, when it breaks them.
extern "C" ssize_t bctbx_recv(bctbx_socket_t socket, void* buffer, size_t length, int flags) {
    using namespace softphone;
    static const auto recv = real<ssize_t (*)(bctbx_socket_t, void*, size_t, int)>("bctbx_recv");
    const ssize_t size = recv(socket, buffer, length, flags);
    if (tInTls) {
        tTlsSocket = socket;
        const std::lock_guard lock(gStreamsMutex);
        streamOn(socket).tls = true;
        return size;
    }
    if (size <= 0 || !isStream(socket)) return size;
    {
        const std::lock_guard lock(gStreamsMutex);
        if (streamOn(socket).tls) return size;
    }
    if (streamTakes(socket, {static_cast<const char*>(buffer), std::size_t(size)})) return size;
    ::shutdown(socket, SHUT_RDWR);
    return 0;
}

extern "C" int32_t bctbx_ssl_handshake(bctbx_ssl_context_t* context) {
    using namespace softphone;
    static const auto handshake = real<int32_t (*)(bctbx_ssl_context_t*)>("bctbx_ssl_handshake");
    const TlsCallScope scope(context);
    return inTls(context, [&] { return handshake(context); });
}

// belle-sip's first write to a connection makes its handshake: the records it reads meanwhile
// are TLS, not SIP.
extern "C" int32_t bctbx_ssl_write(bctbx_ssl_context_t* context, const unsigned char* buffer,
                                   size_t length) {
    using namespace softphone;
    static const auto write =
        real<int32_t (*)(bctbx_ssl_context_t*, const unsigned char*, size_t)>("bctbx_ssl_write");
    const TlsCallScope scope(context);
    return inTls(context, [&] { return write(context, buffer, length); });
}

extern "C" int32_t bctbx_ssl_read(bctbx_ssl_context_t* context, unsigned char* buffer,
                                  size_t length) {
    using namespace softphone;
    static const auto read =
        real<int32_t (*)(bctbx_ssl_context_t*, unsigned char*, size_t)>("bctbx_ssl_read");
    const int32_t size = [&] {
        const TlsCallScope scope(context);
        return inTls(context, [&] { return read(context, buffer, length); });
    }();
    int socket = -1;
    {
        const std::lock_guard lock(gStreamsMutex);
        if (auto it = gTlsSockets.find(context); it != gTlsSockets.end()) socket = it->second;
    }
    if (size <= 0 || socket < 0) return size;
    if (streamTakes(socket, {reinterpret_cast<const char*>(buffer), std::size_t(size)}))
        return size;
    ::shutdown(socket, SHUT_RDWR);
    return BCTBX_ERROR_SSL_PEER_CLOSE_NOTIFY;
}
