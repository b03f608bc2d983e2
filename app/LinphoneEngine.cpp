#include "app/LinphoneEngine.h"

#include <linphone/api/c-call-stats.h>

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QUdpSocket>
#include <linphone++/linphone.hh>
#include <optional>

#include "app/CertificateCheck.h"
#include "app/LinphoneAudioTuning.h"
#include "app/PhoneLog.h"
#include "app/SipDatagram.h"
#include "app/SipStream.h"
#include "app/StunProbe.h"
#include "app/TlsAddressNames.h"

namespace softphone {

namespace {

using Clock = std::chrono::steady_clock;

const std::string kSoundsDir = "/usr/share/sounds/linphone";

std::string toStd(const QString& s) { return s.toStdString(); }

// The states the phone sees; others (updates, pauses, referrals) are none of its concern.
std::optional<SessionState> sessionStateOf(linphone::Call::State state) {
    using S = linphone::Call::State;
    switch (state) {
        case S::IncomingReceived: return SessionState::Incoming;
        case S::OutgoingInit:
        case S::OutgoingProgress:
        case S::OutgoingRinging:
        case S::OutgoingEarlyMedia: return SessionState::InProgress;
        case S::Connected:
        case S::StreamsRunning: return SessionState::Connected;
        case S::End:
        case S::Error:
        case S::Released: return SessionState::Disconnected;
        default: return std::nullopt;
    }
}

// ICE answers a far end that offers it (and offers it in turn); with a STUN server, the phone also
// learns the address its router shows outside and offers that for media.
std::shared_ptr<linphone::NatPolicy> natPolicyFor(linphone::Core& core,
                                                  const NetworkSettings& network) {
    auto policy = core.createNatPolicy();
    policy->enableIce(true);
    if (!network.stunServer.isEmpty()) {
        policy->setStunServer(toStd(network.stunServer));
        policy->enableStun(true);
    }
    return policy;
}

linphone::TransportType transportTypeOf(SipTransport transport) {
    switch (transport) {
        case SipTransport::Udp: return linphone::TransportType::Udp;
        case SipTransport::Tcp: return linphone::TransportType::Tcp;
        case SipTransport::Tls: return linphone::TransportType::Tls;
    }
    return linphone::TransportType::Udp;
}

bool isLoopbackHost(const std::string& host) {
    if (host == "localhost") return true;
    const QHostAddress address(QString::fromStdString(host));
    return address.isLoopback();
}

}  // namespace

class LinphoneSession : public ISession, public std::enable_shared_from_this<LinphoneSession> {
public:
    LinphoneSession(LinphoneEngine& engine, CallRoute route, std::shared_ptr<linphone::Call> call)
        : engine_(engine), route_(route), call_(std::move(call)) {}

    SessionState state() const override { return state_; }

    Party farEnd() const override {
        auto address = call_ ? call_->getRemoteAddress() : nullptr;
        if (!address) return {};
        // A user part's parameters ("5557002;npdi") are not part of the number.
        const QString user = QString::fromStdString(address->getUsername());
        return {user.section(QLatin1Char(';'), 0, 0),
                QString::fromStdString(address->getDisplayName()),
                QString::fromStdString(address->asStringUriOnly())};
    }

    bool mediaEncrypted() const override {
        auto params = call_ ? call_->getCurrentParams() : nullptr;
        return params && params->getMediaEncryption() == linphone::MediaEncryption::SRTP;
    }

    AudioPackets audio() const override {
        // The C++ wrapper leaves the counters out; the C object under it has them.
        auto stats = call_ ? call_->getAudioStats() : nullptr;
        const rtp_stats_t* rtp =
            stats ? linphone_call_stats_get_rtp_stats(static_cast<const LinphoneCallStats*>(
                        linphone::Object::sharedPtrToCPtr(stats)))
                  : nullptr;
        return rtp ? AudioPackets{rtp->packet_sent, rtp->packet_recv} : AudioPackets{};
    }

    EndCause cause() const override { return cause_; }

    void call(const QString& number) override {
        if (call_)
            throw EngineError(EngineFailure::CallNotCreated, QStringLiteral("Call already placed"));
        linphone::Core& core = engine_.startedCore();
        auto address = engine_.destination(number);
        auto params = core.createCallParams(nullptr);
        params->enableVideo(false);
        // A PC-to-PC call goes without the account: no identity of it, no credentials.
        if (route_ == CallRoute::Direct) params->setProxyConfig(engine_.anonymousRoute(*address));
        engine_.markBusy();
        // The engine reports the call's first states before the invitation returns: the
        // session adopts the call as soon as the engine names it.
        engine_.placing_ = shared_from_this();
        auto call = core.inviteAddressWithParams(address, params);
        engine_.placing_.reset();
        if (!call)
            throw EngineError(EngineFailure::CallNotCreated,
                              QStringLiteral("The call could not be placed"));
        adopt(call);
    }

    void answer() override {
        if (!call_ || call_->getState() != linphone::Call::State::IncomingReceived)
            throw EngineError(EngineFailure::NoCall, QStringLiteral("No incoming call to answer"));
        report(SessionState::Answering);
        engine_.markBusy();
        if (probing_)
            acceptWhenProbed_ = true;
        else if (!accept())
            throw EngineError(EngineFailure::NoCall,
                              QStringLiteral("The call could not be answered"));
    }

    // The engine's ICE gathers only for a far end that offers ICE: its answer to any other
    // offer names the home address, where a far end that does not latch sends its audio in
    // vain. So the phone asks STUN itself which address the audio port shows outside, and
    // answers with it where the router keeps the port.
    void probePublicMedia(const QString& stunServer) {
        auto remote = call_->getRemoteParams();
        const bool ice =
            remote &&
            (!remote->getCustomSdpAttribute("ice-ufrag").empty() ||
             !remote->getCustomSdpMediaAttribute(linphone::StreamType::Audio, "ice-ufrag").empty());
        const int port = engine_.core_->getAudioPort();
        if (stunServer.isEmpty() || ice || port <= 0) return;
        probing_ = true;
        auto* probe = new StunProbe(stunServer, quint16(port), &engine_.context_);
        QObject::connect(
            probe, &StunProbe::answered, probe,
            [probe, port, self = weak_from_this()](const QHostAddress& address, quint16 mapped) {
                probe->deleteLater();
                auto session = self.lock();
                if (!session) return;
                session->probing_ = false;
                if (address.isNull() || mapped != port)
                    qCInfo(lcPhone) << "the answer keeps the home address: STUN gave"
                                    << address.toString() << mapped << "for port" << port;
                else
                    session->publicMedia_ = address.toString();
                if (session->acceptWhenProbed_ &&
                    session->call_->getState() == linphone::Call::State::IncomingReceived &&
                    !session->accept())
                    qCWarning(lcPhone) << "the call could not be answered";
            });
    }

    void terminate(HangUpReason reason) override {
        engine_.markBusy();
        if (!call_) {
            report(SessionState::Disconnected);
            return;
        }
        const bool ringing = call_->getState() == linphone::Call::State::IncomingReceived;
        int status = -1;
        if (ringing && reason == HangUpReason::Reject)
            status = call_->decline(linphone::Reason::Declined);
        else if (ringing && reason == HangUpReason::Busy)
            status = call_->decline(linphone::Reason::Busy);
        if (status != 0) status = call_->terminate();
        if (status != 0 && state_ != SessionState::Disconnected)
            throw EngineError(EngineFailure::NoCall, QStringLiteral("The call could not be ended"));
    }

    void setMicrophoneMuted(bool muted) override {
        if (!call_) throw EngineError(EngineFailure::NoCall, QStringLiteral("No call"));
        call_->setMicrophoneMuted(muted);
    }

    void setHeld(bool held) override {
        if (!call_) throw EngineError(EngineFailure::NoCall, QStringLiteral("No call"));
        engine_.markBusy();
        if ((held ? call_->pause() : call_->resume()) != 0)
            throw EngineError(EngineFailure::NoCall,
                              held ? QStringLiteral("The call was not held")
                                   : QStringLiteral("The call was not resumed"));
        heldByPhone_ = held;
        noteHold();
    }

    Hold hold() const override {
        if (!call_) return {};
        // Held by both: the far end's offer is inactive while the phone holds it.
        auto remote = call_->getRemoteParams();
        const bool inactive =
            remote && remote->getAudioDirection() == linphone::MediaDirection::Inactive;
        return {heldByPhone_, call_->getState() == linphone::Call::State::PausedByRemote ||
                                  (heldByPhone_ && inactive)};
    }

    LineStats line() const override {
        LineStats line;
        if (!call_) return line;
        auto params = call_->getCurrentParams();
        if (auto codec = params ? params->getUsedAudioPayloadType() : nullptr)
            line.codec = QStringLiteral("%1/%2")
                             .arg(QString::fromStdString(codec->getMimeType()))
                             .arg(codec->getClockRate());
        if (auto stats = call_->getAudioStats()) {
            line.lossPercent = stats->getLocalLossRate();
            line.jitterMs = stats->getReceiverInterarrivalJitter();
            line.roundTripMs = stats->getRoundTripDelay() * 1000;
        }
        line.encrypted = mediaEncrypted();
        // Negative until the engine has rated the line.
        const float quality = call_->getCurrentQuality();
        if (quality >= 0) line.quality = quality;
        return line;
    }

    // After each of the call's states: a change of who holds it is told once.
    void noteHold() {
        const Hold now = hold();
        if (now == reportedHold_) return;
        reportedHold_ = now;
        engine_.queueHold(shared_from_this());
    }

    bool accept() {
        if (publicMedia_.isEmpty()) return call_->accept() == 0;
        // The engine takes the address its session descriptions give for media from this
        // setting, as it makes each of them: for this answer, the router's outside address.
        auto config = engine_.core_->getConfig();
        const std::string bound = config->getString("rtp", "bind_address", "");
        config->setString("rtp", "bind_address", toStd(publicMedia_));
        const bool accepted = call_->acceptWithParams(engine_.core_->createCallParams(call_)) == 0;
        config->setString("rtp", "bind_address", bound);
        return accepted;
    }

    void adopt(const std::shared_ptr<linphone::Call>& call) {
        if (call_) return;
        call_ = call;
        engine_.track(shared_from_this(), call.get());
    }

    // Each state is reported once per call, in the order the engine reaches them.
    void report(SessionState state) {
        if (state <= state_) return;
        if (state == SessionState::Answering && state_ != SessionState::Incoming) return;
        state_ = state;
        // The controller hears of the end later, when the engine may have let go of the call's
        // parameters: the reason is read now.
        if (state == SessionState::Disconnected) cause_ = endCause();
        engine_.queueSession(shared_from_this(), state);
    }

private:
    EndCause endCause() const {
        // With encryption required, a far end that answered with plain audio is hung up on at
        // once; the engine gives no reason of its own.
        const bool answered = call_ && call_->getRemoteParams();
        const bool required = engine_.core_ && engine_.core_->isMediaEncryptionMandatory();
        return answered && required && !mediaEncrypted() ? EndCause::PlainMediaRefused
                                                         : EndCause::Other;
    }

    LinphoneEngine& engine_;
    CallRoute route_;
    std::shared_ptr<linphone::Call> call_;
    SessionState state_ = SessionState::Idle;
    EndCause cause_ = EndCause::Other;
    bool probing_ = false, acceptWhenProbed_ = false;
    bool heldByPhone_ = false;
    Hold reportedHold_;
    QString publicMedia_;  // the audio port's address outside, as STUN gave it
};

class LinphoneEngine::Listener : public linphone::CoreListener {
public:
    explicit Listener(LinphoneEngine& engine) : engine_(engine) {}

    void onAccountRegistrationStateChanged(const std::shared_ptr<linphone::Core>&,
                                           const std::shared_ptr<linphone::Account>& account,
                                           linphone::RegistrationState state,
                                           const std::string&) override {
        using R = linphone::RegistrationState;
        RegistrationState mapped = RegistrationState::Failed;
        switch (state) {
            case R::None: mapped = RegistrationState::NotRegistered; break;
            case R::Progress: mapped = RegistrationState::Registering; break;
            case R::Ok: mapped = RegistrationState::Registered; break;
            case R::Cleared: mapped = RegistrationState::LoggedOff; break;
            case R::Failed: {
                auto error = account->getErrorInfo();
                const int code = error ? error->getProtocolCode() : 0;
                if (code == 401 || code == 403 || code == 404) mapped = RegistrationState::Rejected;
                break;
            }
        }
        engine_.onRegistration(account, mapped);
    }

    void onCallStateChanged(const std::shared_ptr<linphone::Core>&,
                            const std::shared_ptr<linphone::Call>& call,
                            linphone::Call::State state, const std::string&) override {
        engine_.onCallState(call, static_cast<int>(state));
    }

private:
    LinphoneEngine& engine_;
};

LinphoneEngine::LinphoneEngine(QString folder, EnginePace pace)
    : folder_(std::move(folder)),
      pace_(pace),
      tuning_(std::make_unique<LinphoneAudioTuning>(*this)) {
    QObject::connect(&timer_, &QTimer::timeout, &context_, [this] { tick(); });
    QObject::connect(&sockets_, &StackSockets::ready, &context_, [this] { tick(); });
}

IAudioTuning& LinphoneEngine::audioTuning() { return *tuning_; }

LinphoneEngine::~LinphoneEngine() { shutdown(); }

linphone::Core& LinphoneEngine::startedCore() {
    if (!core_) throw EngineError(EngineFailure::Unavailable, QStringLiteral("Engine not started"));
    return *core_;
}

void LinphoneEngine::initialize() {
    if (core_) return;
    const QString folder = QDir(folder_).absolutePath() + QLatin1Char('/');
    const QString noPlugins = folder + QStringLiteral("no-plugins/");
    if (!QDir().mkpath(noPlugins) || !QDir().mkpath(folder + QStringLiteral("download/")))
        throw EngineError(EngineFailure::Unavailable, QStringLiteral("Engine folder not writable"));

    linphone::LoggingService::get()->setLogLevel(linphone::LogLevel::Fatal);
    verifyAddressNamesOfTlsServers();
    auto factory = linphone::Factory::get();
    factory->setConfigDir(toStd(folder));
    factory->setDataDir(toStd(folder));
    factory->setDownloadDir(toStd(folder + QStringLiteral("download/")));
    factory->setSoundResourcesDir(kSoundsDir);
    factory->setRingResourcesDir(kSoundsDir + "/rings");
    // The media plugin folder holds a video plugin that drags a second Qt into the process.
    factory->setMspluginsDir(toStd(noPlugins));

    const std::string configPath = toStd(folder + QStringLiteral("linphonerc"));
    auto config = factory->createConfig(configPath);
    if (!config) throw EngineError(EngineFailure::Unavailable, QStringLiteral("No engine config"));
    scrubCredentials(config);
    // No call-end or error tones of the engine's own: the program plays its release sound, and
    // the engine's tone player crashes on a sound card whose server has gone away (hanging up
    // as a session logs out).
    config->setInt("sound", "tone_indications", 0);
    // Behind a home router: a keep-alive every 10 s holds the router's UDP binding open (Linux
    // and many routers forget one after 30 s), so requests from the provider still reach the
    // phone; the Via asks for replies to the address and port they came from (rport), and media
    // goes back to where the far end's media comes from (symmetric RTP).
    config->setInt("sip", "keepalive_period", 10000);
    config->setInt("sip", "use_rport", 1);
    config->setInt("rtp", "symmetric", 1);
    // The engine's own stores (its call log, chats, ZRTP secrets) are SQLite files it syncs to
    // disk on the GUI thread at each call; beside a busy disk each sync took a fraction of a
    // second to seconds, and the window and the calls froze meanwhile. The program keeps its own
    // call history, so they are kept in memory.
    config->setString("storage", "uri", ":memory:");
    core_ = factory->createCoreWithConfig(config, nullptr);
    if (!core_) throw EngineError(EngineFailure::Unavailable, QStringLiteral("Engine not created"));
    core_->setCallLogsDatabasePath(":memory:");
    core_->setZrtpSecretsFile(":memory:");

    listener_ = std::make_shared<Listener>(*this);
    core_->addListener(listener_);
    core_->enableNativeRinging(true);
    core_->enableVideoCapture(false);
    core_->enableVideoDisplay(false);
    core_->setGuessHostname(false);
    core_->setUserAgent("Softphone", "0.1");
    listenOn(SipTransport::Udp);
    if (core_->start() != 0) {
        core_.reset();
        throw EngineError(EngineFailure::Unavailable, QStringLiteral("Engine did not start"));
    }
    followSipPort();
    pickAudioPort();
    markBusy();
}

void LinphoneEngine::enableAccount(const AccountSettings& settings) {
    linphone::Core& core = startedCore();
    auto factory = linphone::Factory::get();
    auto server = factory->createAddress(toStd(QStringLiteral("sip:") + settings.server));
    if (!server || server->getDomain().empty() || settings.account.isEmpty())
        throw EngineError(EngineFailure::BadAccount,
                          QStringLiteral("Invalid account or server address"));
    auto identity = server->clone();
    identity->setUsername(toStd(settings.account));
    identity->setDisplayName(toStd(settings.displayName));
    const NetworkSettings& network = settings.network;
    server->setTransport(transportTypeOf(network.transport));
    const QByteArray trusted = trustedCas(network);

    auto params = core.createAccountParams();
    if (params->setIdentityAddress(identity) != 0 || params->setServerAddress(server) != 0)
        throw EngineError(EngineFailure::BadAccount,
                          QStringLiteral("Invalid account or server address"));
    params->setExpires(600);
    params->setNatPolicy(natPolicyFor(core, network));
    params->enableRegister(true);
    auto account = core.createAccount(params);
    if (!account)
        throw EngineError(EngineFailure::BadAccount, QStringLiteral("Account not created"));

    // Media stays on loopback when the server is on this machine; otherwise the session
    // description would carry the address of the default route.
    const bool local = isLoopbackHost(server->getDomain());
    core.getConfig()->setString("rtp", "bind_address", local ? "127.0.0.1" : "");
    core.setRootCaData(trusted.toStdString());
    core.verifyServerCertificates(true);
    core.verifyServerCn(true);
    // Keys of SRTP travel in the session description (SDES): only over TLS. Optional: the offer
    // is plain audio with SRTP as a potential configuration (RFC 5939 capability negotiation),
    // which a far end that knows nothing of it answers with plain audio. Required: the offer is
    // SRTP only, and plain media is refused.
    const bool tls = network.transport == SipTransport::Tls;
    const bool required = tls && network.srtp == SrtpPolicy::Required;
    core.setMediaEncryption(required ? linphone::MediaEncryption::SRTP
                                     : linphone::MediaEncryption::None);
    core.setMediaEncryptionMandatory(required);
    core.enableCapabilityNegociation(tls && network.srtp != SrtpPolicy::Off);
    // SRTP is the one encryption on offer. The engine would also offer DTLS-SRTP and ZRTP as
    // alternatives, and make a DTLS certificate for it (an RSA key: 0.2 to 0.9 s) as the first
    // call of each engine folder is placed.
    core.getConfig()->setString("sip", "supported_encryptions", "LinphoneMediaEncryptionSRTP");
    dtmf_.setMode(core, network.dtmf);

    // Accepted: the account registered now makes way for it. Removing it unregisters it first,
    // before the new contact is bound (the same contact would otherwise be unbound again), and
    // its late events no longer reach the phone.
    if (account_) core.removeAccount(account_);
    listenOn(network.transport);
    core.addAuthInfo(factory->createAuthInfo(identity->getUsername(), "", toStd(settings.password),
                                             "", "", identity->getDomain()));
    account_ = account;
    trustedCas_ = trusted;
    stunServer_ = network.stunServer;
    lastRegState_.reset();
    markBusy();
    if (core.addAccount(account) != 0)
        throw EngineError(EngineFailure::BadAccount, QStringLiteral("Account not added"));
    core.setDefaultAccount(account);
}

void LinphoneEngine::unregister() { setRegistering(false); }

void LinphoneEngine::registerAgain() {
    if (!account_) return;
    lastRegState_.reset();
    if (account_->getParams()->registerEnabled()) {
        markBusy();
        account_->refreshRegister();
    } else {
        setRegistering(true);
    }
}

void LinphoneEngine::setRegistering(bool on) {
    if (!account_) return;
    auto params = account_->getParams()->clone();
    params->enableRegister(on);
    markBusy();
    account_->setParams(params);
}

// A UDP port no socket holds. The stack binds a random port with SO_REUSEADDR, and for such a
// bind the kernel may pick a port that another program bound the same way (a local SIP server,
// another phone); one of the two then receives the other's datagrams.
static int unsharedUdpPort() {
    QUdpSocket probe;
    return probe.bind(QHostAddress::Any, 0, QAbstractSocket::DontShareAddress) ? probe.localPort()
                                                                               : -1;
}

// A port for a call's audio that no other socket holds, with the next one free for its RTCP. The
// engine's fixed default (7078) is bound with SO_REUSEADDR, so two phones on one machine would
// share it and, sending their audio back to where audio comes from, take each other's calls'.
// An even port between 10000 and 20000, as phones use, at random: the kernel's own picks for
// other programs' sockets (32768 and up) that are about to be bound are left to them.
static int unsharedMediaPort() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        const quint16 port = quint16(10000 + 2 * QRandomGenerator::global()->bounded(5000));
        QUdpSocket rtp, rtcp;
        if (rtp.bind(QHostAddress::Any, port, QAbstractSocket::DontShareAddress) &&
            rtcp.bind(QHostAddress::Any, port + 1, QAbstractSocket::DontShareAddress))
            return port;
    }
    return -1;  // a random one of the engine's choosing
}

int LinphoneEngine::audioPort() const { return core_ ? core_->getAudioPort() : -1; }

// Chosen afresh between calls: a port free at start-up may be another program's by the next call.
void LinphoneEngine::pickAudioPort() {
    if (core_ && core_->getCallsNb() == 0) core_->setAudioPort(unsharedMediaPort());
}

// Only the chosen transport listens: with TLS, nothing can leave or arrive in the clear. Any free
// port, as several phones may run on one machine.
void LinphoneEngine::listenOn(SipTransport transport) {
    if (transport_ == transport) return;
    transport_ = transport;
    auto transports = linphone::Factory::get()->createTransports();
    transports->setUdpPort(transport == SipTransport::Udp ? unsharedUdpPort() : 0);
    transports->setTcpPort(transport == SipTransport::Tcp ? -1 : 0);
    transports->setTlsPort(transport == SipTransport::Tls ? -1 : 0);
    // The sockets it closes are watched no more; the next pass names the new ones.
    sockets_.clear();
    core_->setTransports(transports);
    followSipPort();
}

// The guard moves with the UDP port: a new one opens on a random port whenever UDP is chosen again.
void LinphoneEngine::followSipPort() {
    unguardSipPort(sipPort_);
    sipPort_ = core_->getTransportsUsed()->getUdpPort();
    if (sipPort_ > 0) guardSipPort(sipPort_);
}

// Only TLS needs CAs: the system's store (ca-certificates) when it can be read, and the user's
// own CA file, which must be.
QByteArray LinphoneEngine::trustedCas(const NetworkSettings& network) {
    if (network.transport != SipTransport::Tls) return {};
    QFile system(QStringLiteral("/etc/ssl/certs/ca-certificates.crt"));
    QByteArray pem = system.open(QIODevice::ReadOnly) ? system.readAll() + '\n' : QByteArray();
    if (network.caFile.isEmpty()) return pem;
    QFile own(network.caFile);
    if (!own.open(QIODevice::ReadOnly))
        throw EngineError(EngineFailure::BadAccount,
                          QStringLiteral("CA file not readable: ") + network.caFile);
    return pem + own.readAll() + '\n';
}

void LinphoneEngine::setMaxBitrate(int bitsPerSecond) {
    // Caps the codecs whose rate can be chosen. A bandwidth limit would instead drop G.711
    // (64 kbit/s) from the offer, the one codec every telephone gateway takes.
    for (const auto& codec : startedCore().getAudioPayloadTypes())
        if (codec->isVbr()) codec->setNormalBitrate(bitsPerSecond / 1000);
}

// `number` at the server of the account registered now, over the one transport that listens
// (over TLS nothing goes out in the clear).
std::shared_ptr<linphone::Address> LinphoneEngine::destination(const QString& number) {
    if (!account_)
        throw EngineError(EngineFailure::CallNotCreated, QStringLiteral("No account for the call"));
    auto address = account_->getParams()->getServerAddress()->clone();
    if (address->setUsername(toStd(number)) != 0)
        throw EngineError(EngineFailure::CallNotCreated, QStringLiteral("Invalid address"));
    if (transport_) address->setTransport(transportTypeOf(*transport_));
    return address;
}

std::shared_ptr<ISession> LinphoneEngine::createSession(CallRoute route) {
    startedCore();
    if (route == CallRoute::ViaAccount && !account_)
        throw EngineError(EngineFailure::CallNotCreated, QStringLiteral("No account for the call"));
    pickAudioPort();
    return std::make_shared<LinphoneSession>(*this, route, nullptr);
}

// The engine would otherwise pick the account whose domain is the destination's, and with it the
// account's identity and credentials. This unregistered route carries the engine's own local
// identity, for which no credentials exist. Only the old proxy-config calls select a route.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
std::shared_ptr<linphone::ProxyConfig> LinphoneEngine::anonymousRoute(
    const linphone::Address& destination) {
    linphone::Core& core = startedCore();
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
        throw EngineError(EngineFailure::CallNotCreated, QStringLiteral("No route for the call"));
    return anonymous_;
}
#pragma GCC diagnostic pop

void LinphoneEngine::sendDtmf(int code) {
    auto call = startedCore().getCurrentCall();
    if (!call) throw EngineError(EngineFailure::NoCall, QStringLiteral("No call"));
    if (code < 0 || code > 11)
        throw EngineError(EngineFailure::NoCall, QStringLiteral("No such key"));
    const char digit = code < 10 ? char('0' + code) : (code == 10 ? '*' : '#');
    markBusy();
    if (!dtmf_.send(startedCore(), *call, digit))
        throw EngineError(EngineFailure::NoCall, QStringLiteral("DTMF not sent"));
}

void LinphoneEngine::shutdown() {
    timer_.stop();
    sockets_.clear();
    if (!core_) return;
    auto config = core_->getConfig();
    // Stopping hangs up every call and removes the registrations at the server.
    core_->stop();
    core_->removeListener(listener_);
    core_.reset();
    unguardSipPort(sipPort_);
    scrubCredentials(config);
    sessions_.clear();
    account_.reset();
    anonymous_.reset();
}

void LinphoneEngine::scrubCredentials(const std::shared_ptr<linphone::Config>& config) {
    // The account is rebuilt from the saved login each run; the engine keeps no copy of it.
    for (const std::string& section : config->getSectionsNamesList()) {
        if (section.rfind("proxy_", 0) == 0 || section.rfind("auth_info_", 0) == 0)
            config->cleanSection(section);
    }
    config->sync();
}

void LinphoneEngine::queueSession(const std::shared_ptr<ISession>& session, SessionState state) {
    QMetaObject::invokeMethod(
        &context_, [this, session, state] { emit sessionChanged(session, state); },
        Qt::QueuedConnection);
}

void LinphoneEngine::queueHold(const std::shared_ptr<ISession>& session) {
    QMetaObject::invokeMethod(
        &context_, [this, session] { emit holdChanged(session); }, Qt::QueuedConnection);
}

void LinphoneEngine::markBusy() {
    busyUntil_ = Clock::now() + pace_.busySpell;
    if (!core_) return;
    if (!timer_.isActive() || timer_.intervalAsDuration() != pace_.busyTick)
        timer_.start(pace_.busyTick);
    // What was just asked goes out on the next pass of the event loop, not a tick later.
    if (!tickQueued_) {
        tickQueued_ = true;
        QTimer::singleShot(0, &context_, [this] {
            tickQueued_ = false;
            tick();
        });
    }
}

void LinphoneEngine::tick() {
    if (!core_) return;
    sockets_.iterate([this] { core_->iterate(); });
    if (!core_) return;
    dtmf_.update(*core_);
    if (const unsigned closed = closedSipStreams(); closed != streamsClosed_) {
        streamsClosed_ = closed;
        registerAgain();
    }
    const auto next = Clock::now() < busyUntil_ ? pace_.busyTick
                      : core_->getCallsNb() > 0 ? pace_.callTick
                                                : pace_.idleTick;
    if (timer_.intervalAsDuration() != next) timer_.setInterval(next);
}

void LinphoneEngine::onRegistration(const std::shared_ptr<linphone::Account>& account,
                                    RegistrationState state) {
    markBusy();
    if (!account_ || account_ != account) return;
    // A refresh of a live registration passes through "in progress": not a change to report.
    if (state == RegistrationState::Registering && lastRegState_ == RegistrationState::Registered)
        return;
    if (state == lastRegState_) return;
    lastRegState_ = state;
    if (state == RegistrationState::Failed && transport_ == SipTransport::Tls) checkCertificate();
    QMetaObject::invokeMethod(
        &context_, [this, state] { emit registrationChanged(state); }, Qt::QueuedConnection);
}

// The engine tells only that the connection failed; a certificate that does not verify is named
// to the user, who can do something about it.
void LinphoneEngine::checkCertificate() {
    auto server = account_->getParams()->getServerAddress();
    const int port = server->getPort() > 0 ? server->getPort() : 5061;
    new CertificateCheck(
        QString::fromStdString(server->getDomain()), quint16(port), trustedCas_,
        [this, account = account_](const QString& reasons) {
            if (account == account_ && !reasons.isEmpty()) emit certificateRefused(reasons);
        },
        &context_);
}

void LinphoneEngine::onCallState(const std::shared_ptr<linphone::Call>& call, int linphoneState) {
    markBusy();
    const auto state = static_cast<linphone::Call::State>(linphoneState);
    std::shared_ptr<LinphoneSession> session;
    if (auto it = sessions_.find(call.get()); it != sessions_.end()) session = it->second.lock();
    if (!session && placing_ && call->getDir() == linphone::Call::Dir::Outgoing) {
        session = placing_;
        session->adopt(call);
    }
    if (!session && state == linphone::Call::State::IncomingReceived) {
        session = std::make_shared<LinphoneSession>(*this, CallRoute::ViaAccount, call);
        track(session, call.get());
        session->probePublicMedia(stunServer_);
    }
    if (!session) return;
    if (const auto reported = sessionStateOf(state)) session->report(*reported);
    session->noteHold();
    if (state == linphone::Call::State::Released) {
        sessions_.erase(call.get());
        pickAudioPort();
    }
}

void LinphoneEngine::track(const std::shared_ptr<LinphoneSession>& session, linphone::Call* call) {
    sessions_[call] = session;
}

}  // namespace softphone
