#pragma once

#include <QByteArrayView>
#include <QString>

namespace softphone {

// Whether the DER certificate `der` names `host`, an IP address, in an IP subjectAltName
// (RFC 5280 section 4.2.1.6). False for a host name.
bool certificateNamesAddress(QByteArrayView der, const QString& host);

// The engine's TLS matches a server's certificate against DNS names only, so a server reached
// by its address is refused even when its certificate names that address. Once this is called,
// the name check of such a handshake accepts a certificate that certificateNamesAddress finds
// for the address the handshake is for; the chain is verified as before.
void verifyAddressNamesOfTlsServers();

// Marks a call of a TLS context under way on this thread (a handshake, read or write: each may
// make the handshake), for the name check the handshake makes.
class TlsCallScope {
public:
    explicit TlsCallScope(const void* context);
    ~TlsCallScope();
    TlsCallScope(const TlsCallScope&) = delete;
    TlsCallScope& operator=(const TlsCallScope&) = delete;
};

}  // namespace softphone
