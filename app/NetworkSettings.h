#pragma once

#include <QString>

namespace softphone {

class ISettingsStore;

enum class SipTransport { Udp, Tcp, Tls };

// Encrypted media (SRTP with keys in the session description, so only over TLS): none, when the
// far end takes it, or no call without it.
enum class SrtpPolicy { Off, Optional, Required };

// How key presses in a call reach the far end. Automatic: RFC 2833 events when the far end's
// answer takes telephone-event, tones in the audio when it does not. SIP INFO: an INFO request
// (application/dtmf-relay) per key, and tones in the audio once the far end refuses one. In the
// audio: tones only, for gateways that listen for nothing else.
enum class DtmfMode { Automatic, SipInfo, InAudio };

// How the phone reaches its provider, beside the account of the login dialog.
struct NetworkSettings {
    SipTransport transport = SipTransport::Udp;
    // A PEM file of further trusted CAs, besides the system's store.
    QString caFile;
    SrtpPolicy srtp = SrtpPolicy::Off;
    // host[:port] of a STUN server that tells the phone its address outside a home router;
    // empty: none.
    QString stunServer{};  // {}: brace lists that end before it warn of nothing
    // What a written "+" becomes when a number is pasted, opened as a link or imported: "00" in
    // most of the world, "011" in North America; empty: the country code is dialled without one.
    QString internationalPrefix = QStringLiteral("00");
    DtmfMode dtmf = DtmfMode::Automatic;

    bool operator==(const NetworkSettings&) const = default;
};

// Up to four digits.
inline const QString kInternationalPrefixPattern = QStringLiteral("[0-9]{0,4}");

// Stored in the settings file under "Network"; missing or unknown values read as the defaults.
NetworkSettings readNetworkSettings(const ISettingsStore& store);
void writeNetworkSettings(ISettingsStore& store, const NetworkSettings& settings);

}  // namespace softphone
