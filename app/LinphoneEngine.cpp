#include "app/LinphoneEngine.h"

#include <QDir>
#include <QHostAddress>
#include <linphone++/linphone.hh>

#include "app/ProvisioningXml.h"
#include "dialer/SoundPlayer.h"

namespace softphone {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Fast while a transaction is under way, slow when idle: quick registration and calls, and
// almost no CPU while the phone waits.
constexpr auto kBusyTick = 2ms;
constexpr auto kCallTick = 50ms;
constexpr auto kIdleTick = 200ms;
constexpr auto kBusySpell = 2s;

const std::string kSoundsDir = "/usr/share/sounds/linphone";
const std::string kPhoneRing = kSoundsDir + "/rings/oldphone-mono.wav";

std::string Std(const QString& s) { return s.toStdString(); }

// Which bit of the event filter lets an event code through.
int FilterBit(int code) {
    switch (code) {
        case kEventRegistrationState: return 2;
        case kEventSessionState: return 4;
        case kEventMedia: return 32;
        default: return 0;
    }
}

int SessionStateOf(linphone::Call::State state) {
    using S = linphone::Call::State;
    switch (state) {
        case S::IncomingReceived: return kSessionIncoming;
        case S::OutgoingInit:
        case S::OutgoingProgress:
        case S::OutgoingRinging:
        case S::OutgoingEarlyMedia: return kSessionInProgress;
        case S::Connected:
        case S::StreamsRunning: return kSessionConnected;
        case S::End:
        case S::Error:
        case S::Released: return kSessionDisconnected;
        default: return -1;
    }
}

bool IsLoopbackHost(const std::string& host) {
    if (host == "localhost") return true;
    const QHostAddress address(QString::fromStdString(host));
    return address.isLoopback();
}

}  // namespace

class LinphoneProfile : public IProfile {
public:
    explicit LinphoneProfile(ProvisioningProfile p) : provisioning(std::move(p)) {}
    ProvisioningProfile provisioning;
    std::shared_ptr<linphone::Account> account;
};

class LinphoneParticipant : public IParticipant {
public:
    explicit LinphoneParticipant(QString uri) : uri_(std::move(uri)) {}
    QString Uri() const override { return uri_; }

private:
    QString uri_;
};

class LinphoneSession : public ISession, public std::enable_shared_from_this<LinphoneSession> {
public:
    LinphoneSession(LinphoneEngine& engine, int type, std::shared_ptr<linphone::Call> call)
        : engine_(engine), type_(type), call_(std::move(call)) {}

    int State() const override { return state_; }

    QString RemoteParty() const override {
        auto address = call_ ? call_->getRemoteAddress() : nullptr;
        return address ? QString::fromStdString(address->asStringUriOnly()) : QString();
    }

    std::shared_ptr<IParticipant> AddParticipant(const QString& uri, const QString&) override {
        if (call_) throw EngineError(kErrorCallNotCreated, QStringLiteral("Call already placed"));
        linphone::Core& core = engine_.Core();
        auto address = linphone::Factory::get()->createAddress(Std(uri));
        if (!address) throw EngineError(kErrorCallNotCreated, QStringLiteral("Invalid address"));
        auto params = core.createCallParams(nullptr);
        params->enableVideo(false);
        // A PC-to-PC call goes without the account: no identity of it, no credentials.
        if (type_ == kSessionPcToPc) params->setProxyConfig(engine_.AnonymousRoute(*address));
        engine_.MarkBusy();
        // The engine reports the call's first states before the invitation returns: the
        // session adopts the call as soon as the engine names it.
        engine_.placing_ = shared_from_this();
        auto call = core.inviteAddressWithParams(address, params);
        engine_.placing_.reset();
        if (!call)
            throw EngineError(kErrorCallNotCreated, QStringLiteral("The call could not be placed"));
        Adopt(call);
        return std::make_shared<LinphoneParticipant>(uri);
    }

    void Answer() override {
        if (!call_ || call_->getState() != linphone::Call::State::IncomingReceived)
            throw EngineError(kErrorNoCall, QStringLiteral("No incoming call to answer"));
        Report(kSessionAnswering);
        engine_.MarkBusy();
        if (call_->accept() != 0)
            throw EngineError(kErrorNoCall, QStringLiteral("The call could not be answered"));
    }

    void Terminate(int reason) override {
        engine_.MarkBusy();
        if (!call_) {
            Report(kSessionDisconnected);
            return;
        }
        const bool ringing = call_->getState() == linphone::Call::State::IncomingReceived;
        int status = -1;
        if (ringing && reason == kTerminateReject)
            status = call_->decline(linphone::Reason::Declined);
        else if (ringing && reason == kTerminateBusy)
            status = call_->decline(linphone::Reason::Busy);
        if (status != 0) status = call_->terminate();
        if (status != 0 && state_ != kSessionDisconnected)
            throw EngineError(kErrorNoCall, QStringLiteral("The call could not be ended"));
    }

    void Adopt(const std::shared_ptr<linphone::Call>& call) {
        if (call_) return;
        call_ = call;
        engine_.Track(shared_from_this(), call.get());
    }

    // Each state is reported once per call, in the order the engine reaches them.
    void Report(int state) {
        if (state <= state_) return;
        if (state == kSessionAnswering && state_ != kSessionIncoming) return;
        state_ = state;
        engine_.Queue(kEventSessionState, EngineEvent{state, shared_from_this(), 0, 0});
        if (state == kSessionConnected) engine_.Queue(kEventMedia, EngineEvent{0, nullptr, 1, 0});
    }

private:
    LinphoneEngine& engine_;
    int type_;
    std::shared_ptr<linphone::Call> call_;
    int state_ = kSessionIdle;
};

class LinphoneEngine::Listener : public linphone::CoreListener {
public:
    explicit Listener(LinphoneEngine& engine) : engine_(engine) {}

    void onAccountRegistrationStateChanged(const std::shared_ptr<linphone::Core>&,
                                           const std::shared_ptr<linphone::Account>& account,
                                           linphone::RegistrationState state,
                                           const std::string&) override {
        using R = linphone::RegistrationState;
        int mapped = kRegError;
        switch (state) {
            case R::None: mapped = kRegNotRegistered; break;
            case R::Progress: mapped = kRegRegistering; break;
            case R::Ok: mapped = kRegRegistered; break;
            case R::Cleared: mapped = kRegLoggedOff; break;
            case R::Failed: {
                auto error = account->getErrorInfo();
                const int code = error ? error->getProtocolCode() : 0;
                mapped = (code == 401 || code == 403 || code == 404) ? kRegRejected : kRegError;
                break;
            }
        }
        engine_.OnRegistration(account, mapped);
    }

    void onCallStateChanged(const std::shared_ptr<linphone::Core>&,
                            const std::shared_ptr<linphone::Call>& call,
                            linphone::Call::State state, const std::string&) override {
        engine_.OnCallState(call, static_cast<int>(state));
    }

private:
    LinphoneEngine& engine_;
};

LinphoneEngine::LinphoneEngine(QString folder, ISoundPlayer& ringer, ISoundPlayer& speaker)
    : folder_(std::move(folder)), ringer_(ringer), speaker_(speaker) {
    QObject::connect(&timer_, &QTimer::timeout, &context_, [this] { Tick(); });
}

LinphoneEngine::~LinphoneEngine() { Shutdown(); }

linphone::Core& LinphoneEngine::Core() {
    if (!core_) throw EngineError(kErrorEngineUnavailable, QStringLiteral("Engine not started"));
    return *core_;
}

void LinphoneEngine::Initialize() {
    if (core_) return;
    const QString folder = QDir(folder_).absolutePath() + QLatin1Char('/');
    const QString noPlugins = folder + QStringLiteral("no-plugins/");
    if (!QDir().mkpath(noPlugins) || !QDir().mkpath(folder + QStringLiteral("download/")))
        throw EngineError(kErrorEngineUnavailable, QStringLiteral("Engine folder not writable"));

    linphone::LoggingService::get()->setLogLevel(linphone::LogLevel::Fatal);
    auto factory = linphone::Factory::get();
    factory->setConfigDir(Std(folder));
    factory->setDataDir(Std(folder));
    factory->setDownloadDir(Std(folder + QStringLiteral("download/")));
    factory->setSoundResourcesDir(kSoundsDir);
    factory->setRingResourcesDir(kSoundsDir + "/rings");
    // The media plugin folder holds a video plugin that drags a second Qt into the process.
    factory->setMspluginsDir(Std(noPlugins));

    const std::string configPath = Std(folder + QStringLiteral("linphonerc"));
    auto config = factory->createConfig(configPath);
    if (!config) throw EngineError(kErrorEngineUnavailable, QStringLiteral("No engine config"));
    ScrubCredentials(config);
    core_ = factory->createCoreWithConfig(config, nullptr);
    if (!core_) throw EngineError(kErrorEngineUnavailable, QStringLiteral("Engine not created"));

    listener_ = std::make_shared<Listener>(*this);
    core_->addListener(listener_);
    core_->enableNativeRinging(true);
    core_->enableVideoCapture(false);
    core_->enableVideoDisplay(false);
    core_->setGuessHostname(false);
    core_->setUserAgent("Softphone", "0.1");
    auto transports = factory->createTransports();
    transports->setUdpPort(-1);  // any free port: several phones may run on one machine
    transports->setTcpPort(0);
    transports->setTlsPort(0);
    core_->setTransports(transports);
    if (core_->start() != 0) {
        core_.reset();
        throw EngineError(kErrorEngineUnavailable, QStringLiteral("Engine did not start"));
    }
    MarkBusy();
    UseChosenOutputs();
}

void LinphoneEngine::SetListenForIncomingSessions(int) {
    // Incoming calls are always offered; the engine listens on its one SIP port.
}

void LinphoneEngine::SetPreferredMediaTypes(int, bool) {
    Core().enableVideoCapture(false);
    Core().enableVideoDisplay(false);
}

std::shared_ptr<IProfile> LinphoneEngine::CreateProfile(const QString& xml) {
    return std::make_shared<LinphoneProfile>(ParseProfileXml(xml));
}

void LinphoneEngine::EnableProfile(const std::shared_ptr<IProfile>& profile, int) {
    auto p = std::dynamic_pointer_cast<LinphoneProfile>(profile);
    if (!p) throw EngineError(kErrorBadProfile, QStringLiteral("Unknown profile"));
    linphone::Core& core = Core();
    auto factory = linphone::Factory::get();
    const ProvisioningProfile& prov = p->provisioning;

    auto identity = factory->createAddress(Std(prov.uri));
    auto server = factory->createAddress(Std(QStringLiteral("sip:") + prov.registrar));
    if (!identity || !server || identity->getUsername().empty() || server->getDomain().empty())
        throw EngineError(kErrorBadProfile, QStringLiteral("Invalid account or server address"));
    server->setTransport(linphone::TransportType::Udp);

    auto params = core.createAccountParams();
    if (params->setIdentityAddress(identity) != 0 || params->setServerAddress(server) != 0)
        throw EngineError(kErrorBadProfile, QStringLiteral("Invalid account or server address"));
    params->setExpires(prov.expires > 0 ? prov.expires : 600);
    params->enableRegister(true);
    auto account = core.createAccount(params);
    if (!account) throw EngineError(kErrorBadProfile, QStringLiteral("Account not created"));

    // Media stays on loopback when the server is on this machine; otherwise the session
    // description would carry the address of the default route.
    const bool local = IsLoopbackHost(server->getDomain());
    core.getConfig()->setString("rtp", "bind_address", local ? "127.0.0.1" : "");

    // Accepted: the account registered now makes way for it. Removing it unregisters it first,
    // before the new contact is bound (the same contact would otherwise be unbound again), and
    // its late events no longer reach the window.
    if (current_ && current_->account) core.removeAccount(current_->account);
    if (current_) current_->account.reset();
    core.addAuthInfo(factory->createAuthInfo(identity->getUsername(), "", Std(prov.password), "",
                                             "", identity->getDomain()));
    current_ = p;
    lastRegState_ = -1;
    p->account = account;
    MarkBusy();
    if (core.addAccount(account) != 0)
        throw EngineError(kErrorBadProfile, QStringLiteral("Account not added"));
    core.setDefaultAccount(account);
}

void LinphoneEngine::SetMaxBitrate(int bitsPerSecond) {
    // Caps the codecs whose rate can be chosen. A bandwidth limit would instead drop G.711
    // (64 kbit/s) from the offer, the one codec every telephone gateway takes.
    for (const auto& codec : Core().getAudioPayloadTypes())
        if (codec->isVbr()) codec->setNormalBitrate(bitsPerSecond / 1000);
}

std::shared_ptr<ISession> LinphoneEngine::CreateSession(int type,
                                                        const std::shared_ptr<IProfile>& profile,
                                                        int) {
    Core();
    if (type == kSessionPcToPhone && !std::dynamic_pointer_cast<LinphoneProfile>(profile))
        throw EngineError(kErrorCallNotCreated, QStringLiteral("No profile for the call"));
    return std::make_shared<LinphoneSession>(*this, type, nullptr);
}

// The engine would otherwise pick the account whose domain is the destination's, and with it the
// account's identity and credentials. This unregistered route carries the engine's own local
// identity, for which no credentials exist. Only the old proxy-config calls select a route.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
std::shared_ptr<linphone::ProxyConfig> LinphoneEngine::AnonymousRoute(
    const linphone::Address& destination) {
    linphone::Core& core = Core();
    auto server = destination.clone();
    server->setUsername("");
    const std::string serverText = server->asStringUriOnly();
    if (anonymous_ && anonymous_->getServerAddr() == serverText) return anonymous_;
    if (anonymous_) core.removeProxyConfig(anonymous_);
    anonymous_ = core.createProxyConfig();
    anonymous_->setIdentityAddress(
        linphone::Factory::get()->createAddress(core.getPrimaryContact()));
    anonymous_->setServerAddr(serverText);
    anonymous_->enableRegister(false);
    if (core.addProxyConfig(anonymous_) != 0)
        throw EngineError(kErrorCallNotCreated, QStringLiteral("No route for the call"));
    return anonymous_;
}
#pragma GCC diagnostic pop

void LinphoneEngine::PlayRing(int ringType, bool play) {
    if (ringType != kRingPhone) return;
    if (play)
        ringer_.PlayFile(QString::fromStdString(kPhoneRing));
    else
        ringer_.Stop();
}

void LinphoneEngine::SendDTMF(int code) {
    auto call = Core().getCurrentCall();
    if (!call) throw EngineError(kErrorNoCall, QStringLiteral("No call"));
    if (code < 0 || code > 11) throw EngineError(kErrorNoCall, QStringLiteral("No such key"));
    const char digit = code < 10 ? char('0' + code) : (code == 10 ? '*' : '#');
    MarkBusy();
    if (call->sendDtmf(digit) != 0)
        throw EngineError(kErrorNoCall, QStringLiteral("DTMF not sent"));
}

void LinphoneEngine::InvokeTuningWizard(QWidget* owner) { RunTuningWizard(owner); }

void LinphoneEngine::Shutdown() {
    timer_.stop();
    if (!core_) return;
    auto config = core_->getConfig();
    // Stopping hangs up every call and removes the registrations at the server.
    core_->stop();
    core_->removeListener(listener_);
    core_.reset();
    ScrubCredentials(config);
    sessions_.clear();
    current_.reset();
    anonymous_.reset();
}

void LinphoneEngine::ScrubCredentials(const std::shared_ptr<linphone::Config>& config) {
    // The account is rebuilt from the saved login each run; the engine keeps no copy of it.
    for (const std::string& section : config->getSectionsNamesList()) {
        if (section.rfind("proxy_", 0) == 0 || section.rfind("auth_info_", 0) == 0)
            config->cleanSection(section);
    }
    config->sync();
}

void LinphoneEngine::Queue(int code, EngineEvent event) {
    if (!(eventFilter_ & FilterBit(code))) return;
    QMetaObject::invokeMethod(
        &context_,
        [this, code, event = std::move(event)] {
            if (sink_) sink_(code, event);
        },
        Qt::QueuedConnection);
}

void LinphoneEngine::MarkBusy() {
    busyUntil_ = Clock::now() + kBusySpell;
    if (!core_) return;
    if (!timer_.isActive() || timer_.intervalAsDuration() != kBusyTick) timer_.start(kBusyTick);
    // What was just asked goes out on the next pass of the event loop, not a tick later.
    if (!tickQueued_) {
        tickQueued_ = true;
        QTimer::singleShot(0, &context_, [this] {
            tickQueued_ = false;
            Tick();
        });
    }
}

void LinphoneEngine::Tick() {
    if (!core_) return;
    core_->iterate();
    if (!core_) return;
    const auto next = Clock::now() < busyUntil_ ? kBusyTick
                      : core_->getCallsNb() > 0 ? std::chrono::milliseconds(kCallTick)
                                                : std::chrono::milliseconds(kIdleTick);
    if (timer_.intervalAsDuration() != next) timer_.setInterval(next);
}

void LinphoneEngine::OnRegistration(const std::shared_ptr<linphone::Account>& account, int state) {
    MarkBusy();
    if (!current_ || current_->account != account) return;
    // A refresh of a live registration passes through "in progress": not a change to report.
    if (state == kRegRegistering && lastRegState_ == kRegRegistered) return;
    if (state == lastRegState_) return;
    lastRegState_ = state;
    Queue(kEventRegistrationState, EngineEvent{state, nullptr, 0, 0});
}

void LinphoneEngine::OnCallState(const std::shared_ptr<linphone::Call>& call, int linphoneState) {
    MarkBusy();
    const auto state = static_cast<linphone::Call::State>(linphoneState);
    std::shared_ptr<LinphoneSession> session;
    if (auto it = sessions_.find(call.get()); it != sessions_.end()) session = it->second.lock();
    if (!session && placing_ && call->getDir() == linphone::Call::Dir::Outgoing) {
        session = placing_;
        session->Adopt(call);
    }
    if (!session && state == linphone::Call::State::IncomingReceived) {
        session = std::make_shared<LinphoneSession>(*this, kSessionPcToPhone, call);
        Track(session, call.get());
    }
    if (!session) return;
    session->Report(SessionStateOf(state));
    if (state == linphone::Call::State::Released) sessions_.erase(call.get());
}

void LinphoneEngine::Track(const std::shared_ptr<LinphoneSession>& session, linphone::Call* call) {
    sessions_[call] = session;
}

}  // namespace softphone
