#include "records/NetworkSettings.h"

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

template <typename Enum, size_t N>
Enum FromText(const std::array<std::pair<Enum, const char*>, N>& names, const QString& text) {
    for (const auto& [value, name] : names)
        if (text == QLatin1String(name)) return value;
    return names[0].first;
}

template <typename Enum, size_t N>
QString ToText(const std::array<std::pair<Enum, const char*>, N>& names, Enum value) {
    for (const auto& [candidate, name] : names)
        if (candidate == value) return QLatin1String(name);
    return QLatin1String(names[0].second);
}

}  // namespace

NetworkSettings ReadNetworkSettings(const ISettingsStore& store) {
    NetworkSettings settings;
    settings.transport = FromText(kTransports, store.Read(kApp, kSection, "Transport"));
    settings.caFile = store.Read(kApp, kSection, "CaFile");
    settings.srtp = FromText(kSrtp, store.Read(kApp, kSection, "Srtp"));
    settings.stunServer = store.Read(kApp, kSection, "StunServer");
    return settings;
}

void WriteNetworkSettings(ISettingsStore& store, const NetworkSettings& settings) {
    store.Write(kApp, kSection, "Transport", ToText(kTransports, settings.transport));
    store.Write(kApp, kSection, "CaFile", settings.caFile);
    store.Write(kApp, kSection, "Srtp", ToText(kSrtp, settings.srtp));
    store.Write(kApp, kSection, "StunServer", settings.stunServer);
}

}  // namespace softphone
