#include "app/SipDatagram.h"

#include <bctoolbox/port.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <QHostAddress>
#include <QLoggingCategory>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/InfoAnswers.h"
#include "app/SipBounds.h"

namespace softphone {

namespace {

Q_LOGGING_CATEGORY(lcSip, "softphone.sip")

constexpr std::string_view kKeepAlive = "\r\n\r\n";
std::mutex gGuardedMutex;
std::vector<int> gGuardedPorts;

// A datagram socket of this process bound to a guarded port.
bool guarded(int socket) {
    int type = 0;
    socklen_t typeSize = sizeof type;
    if (::getsockopt(socket, SOL_SOCKET, SO_TYPE, &type, &typeSize) != 0 || type != SOCK_DGRAM)
        return false;
    sockaddr_storage local = {};
    socklen_t size = sizeof local;
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&local), &size) != 0) return false;
    int port = 0;
    if (local.ss_family == AF_INET) port = ntohs(reinterpret_cast<sockaddr_in&>(local).sin_port);
    if (local.ss_family == AF_INET6) port = ntohs(reinterpret_cast<sockaddr_in6&>(local).sin6_port);
    const std::lock_guard lock(gGuardedMutex);
    return port != 0 &&
           std::find(gGuardedPorts.begin(), gGuardedPorts.end(), port) != gGuardedPorts.end();
}

// Once a minute per sender: a scanner sends hundreds a second.
void logDropped(const sockaddr* sender, ssize_t size) {
    using Clock = std::chrono::steady_clock;
    static std::mutex mutex;
    static std::map<QString, Clock::time_point> lastLogged;
    const QString from = sender ? QHostAddress(sender).toString() : QString();
    const auto now = Clock::now();
    {
        const std::lock_guard lock(mutex);
        if (lastLogged.size() > 1000) lastLogged.clear();
        const auto last = lastLogged.find(from);
        if (last != lastLogged.end() && now - last->second < std::chrono::minutes(1)) return;
        lastLogged[from] = now;
    }
    qCInfo(lcSip) << "Dropped a UDP datagram of" << size << "bytes from" << from
                  << "that holds no whole SIP message within bounds (more within a minute are "
                     "dropped unlogged)";
}

}  // namespace

std::size_t sipMessageLength(std::string_view datagram) {
    const auto start = datagram.find_first_not_of("\r\n");
    if (start == std::string_view::npos) return datagram.size();
    const auto headerEnd = datagram.find(kKeepAlive, start);
    if (headerEnd == std::string_view::npos) return 0;
    const std::string_view header = datagram.substr(start, headerEnd + 2 - start);
    if (header.find('\0') != std::string_view::npos || !withinSipBounds(header)) return 0;
    const auto firstLineEnd = header.find("\r\n");
    const std::optional<long> length = sipContentLength(header.substr(firstLineEnd + 2));
    const std::size_t bodyStart = headerEnd + kKeepAlive.size();
    const std::size_t body = datagram.size() - bodyStart;
    if (length && (*length < 0 || std::size_t(*length) > body)) return 0;
    return bodyStart + std::size_t(length.value_or(0));
}

void guardSipPort(int port) {
    const std::lock_guard lock(gGuardedMutex);
    gGuardedPorts.push_back(port);
}

void unguardSipPort(int port) {
    const std::lock_guard lock(gGuardedMutex);
    if (auto it = std::find(gGuardedPorts.begin(), gGuardedPorts.end(), port);
        it != gGuardedPorts.end())
        gGuardedPorts.erase(it);
}

}  // namespace softphone

// belle-sip reads the datagrams of its UDP channels through this bctoolbox call; the program's
// own definition comes first in the process's symbol lookup (the build exports it), so every
// datagram passes SipMessageLength on its way to the parser.
extern "C" ssize_t bctbx_recvfrom(bctbx_socket_t socket, void* buffer, size_t length, int flags,
                                  struct sockaddr* address, socklen_t* addressLength) {
    using Recvfrom = ssize_t (*)(bctbx_socket_t, void*, size_t, int, sockaddr*, socklen_t*);
    static const auto real = reinterpret_cast<Recvfrom>(::dlsym(RTLD_NEXT, "bctbx_recvfrom"));
    if (!softphone::guarded(socket))
        return real(socket, buffer, length, flags, address, addressLength);
    // With MSG_TRUNC the full size comes back, so a datagram cut short by the buffer is known.
    const ssize_t size = real(socket, buffer, length, flags | MSG_TRUNC, address, addressLength);
    if (size <= 0) return size;
    const std::size_t keep =
        std::size_t(size) > length
            ? 0
            : softphone::sipMessageLength({static_cast<const char*>(buffer), std::size_t(size)});
    if (keep > 0) {
        softphone::noteInfoAnswer({static_cast<const char*>(buffer), keep});
        return ssize_t(keep);
    }
    softphone::logDropped(address, size);
    const std::size_t keepAlive = std::min(length, softphone::kKeepAlive.size());
    std::memcpy(buffer, softphone::kKeepAlive.data(), keepAlive);
    return ssize_t(keepAlive);
}
