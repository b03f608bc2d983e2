#include "app/NetworkSettings.h"

#include <QRegularExpression>
#include <array>
#include <utility>

#include "records/SettingsStore.h"

namespace softphone {
namespace {

const QString kApp = QStringLiteral("Network");
const QString kSection = QStringLiteral("Parameters");

constexpr std::array<std::pair<SipTransport, const char*>, 3> kTransports{
    {{SipTransport::Udp, "UDP"}, {SipTransport::Tcp, "TCP"}, {SipTransport::Tls, "TLS"}}};
constexpr std::array<std::pair<SrtpPolicy, const char*>, 3> kSrtp{
    {{SrtpPolicy::Off, "off"},
     {SrtpPolicy::Optional, "optional"},
     {SrtpPolicy::Required, "required"}}};
constexpr std::array<std::pair<DtmfMode, const char*>, 3> kDtmf{{{DtmfMode::Automatic, "automatic"},
                                                                 {DtmfMode::SipInfo, "info"},
                                                                 {DtmfMode::InAudio, "audio"}}};

template <typename Enum, size_t N>
Enum fromText(const std::array<std::pair<Enum, const char*>, N>& names, const QString& text) {
    for (const auto& [value, name] : names)
        if (text == QLatin1String(name)) return value;
    return names[0].first;
}

template <typename Enum, size_t N>
QString toText(const std::array<std::pair<Enum, const char*>, N>& names, Enum value) {
    for (const auto& [candidate, name] : names)
        if (candidate == value) return QLatin1String(name);
    return QLatin1String(names[0].second);
}

}  // namespace

NetworkSettings readNetworkSettings(const ISettingsStore& store) {
    NetworkSettings settings;
    settings.transport = fromText(kTransports, store.read(kApp, kSection, "Transport"));
    settings.caFile = store.read(kApp, kSection, "CaFile");
    settings.srtp = fromText(kSrtp, store.read(kApp, kSection, "Srtp"));
    settings.stunServer = store.read(kApp, kSection, "StunServer");
    const QString prefix = store.read(kApp, kSection, "InternationalPrefix", "00");
    static const QRegularExpression valid(
        QRegularExpression::anchoredPattern(kInternationalPrefixPattern));
    if (valid.match(prefix).hasMatch()) settings.internationalPrefix = prefix;
    settings.dtmf = fromText(kDtmf, store.read(kApp, kSection, "Dtmf"));
    return settings;
}

void writeNetworkSettings(ISettingsStore& store, const NetworkSettings& settings) {
    store.write(kApp, kSection, "Transport", toText(kTransports, settings.transport));
    store.write(kApp, kSection, "CaFile", settings.caFile);
    store.write(kApp, kSection, "Srtp", toText(kSrtp, settings.srtp));
    store.write(kApp, kSection, "StunServer", settings.stunServer);
    store.write(kApp, kSection, "InternationalPrefix", settings.internationalPrefix);
    store.write(kApp, kSection, "Dtmf", toText(kDtmf, settings.dtmf));
}

}  // namespace softphone
