#include "app/TlsAddressNames.h"

#include <bctoolbox/crypto.h>
#include <dlfcn.h>

#include <QHostAddress>
#include <QSslCertificate>
#include <algorithm>
#include <map>
#include <mutex>

// belle-sip's hook on each certificate check of its TLS connections (auth-helper.h, where it is
// declared deprecated for another use than this one).
extern "C" int belle_sip_tls_set_verify_error_cb(void* callback);

namespace softphone {
namespace {

std::mutex gHostsMutex;
std::map<const void*, QString> gHosts;     // the host each TLS context is for
thread_local const void* tCall = nullptr;  // the context whose call runs on this thread

QString hostOfCall() {
    const std::lock_guard lock(gHostsMutex);
    const auto it = gHosts.find(tCall);
    return it == gHosts.end() ? QString() : it->second;
}

// Called by the engine for each certificate of a server's chain, with what its check found.
int checkAddressName(unsigned char* der, int length, int depth, uint32_t* flags) {
    if (depth == 0 && (*flags & BCTBX_CERTIFICATE_VERIFY_BADCERT_CN_MISMATCH) &&
        certificateNamesAddress({der, length}, hostOfCall()))
        *flags &= ~uint32_t(BCTBX_CERTIFICATE_VERIFY_BADCERT_CN_MISMATCH);
    return 0;
}

}  // namespace

bool certificateNamesAddress(QByteArrayView der, const QString& host) {
    const QHostAddress address(host);
    if (address.isNull()) return false;
    const QSslCertificate certificate(der.toByteArray(), QSsl::Der);
    const auto names = certificate.subjectAlternativeNames().values(QSsl::IpAddressEntry);
    return std::any_of(names.begin(), names.end(),
                       [&](const QString& name) { return QHostAddress(name) == address; });
}

void verifyAddressNamesOfTlsServers() {
    belle_sip_tls_set_verify_error_cb(reinterpret_cast<void*>(&checkAddressName));
}

TlsCallScope::TlsCallScope(const void* context) { tCall = context; }

TlsCallScope::~TlsCallScope() { tCall = nullptr; }

}  // namespace softphone

// belle-sip names the server of each TLS connection here; the program's definition comes first
// in the process's symbol lookup (the build exports it) and notes the name for the check above.
extern "C" int32_t bctbx_ssl_set_hostname(bctbx_ssl_context_t* context, const char* hostname) {
    using namespace softphone;
    static const auto setHostname =
        reinterpret_cast<int32_t (*)(bctbx_ssl_context_t*, const char*)>(
            ::dlsym(RTLD_NEXT, "bctbx_ssl_set_hostname"));
    {
        const std::lock_guard lock(gHostsMutex);
        if (gHosts.size() > 1000) gHosts.clear();
        gHosts[context] = QString::fromUtf8(hostname ? hostname : "");
    }
    return setHostname(context, hostname);
}
