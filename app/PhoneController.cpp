#include "app/PhoneController.h"

#include "app/CallerNumber.h"
#include "app/PhoneLog.h"
#include "dialer/KeyTable.h"
#include "dialer/SoundPlayer.h"
#include "records/NetworkSettings.h"
#include "records/RecentCalls.h"
#include "records/SettingsStore.h"
#include "support/MessageBox.h"

Q_LOGGING_CATEGORY(lcPhone, "softphone.phone")

namespace softphone {
namespace {

using namespace std::chrono_literals;

constexpr auto kDialPace = 100ms;  // each dialled character's tone before the next
constexpr int kMaxBitrate = 60000;

// What the status line says of each registration state; none: it keeps what it shows.
std::optional<QString> registrationText(RegistrationState state) {
    switch (state) {
        case RegistrationState::NotRegistered: return QObject::tr("Not Registered");
        case RegistrationState::Registering: return QObject::tr("Registering");
        case RegistrationState::Registered: return QObject::tr("Registered and Ready...");
        case RegistrationState::Rejected: return QObject::tr("Rejected");
        case RegistrationState::LoggedOff: return QObject::tr("Logged off.");
        case RegistrationState::Unregistering:
        case RegistrationState::Failed: return std::nullopt;
    }
    return std::nullopt;
}

// Runs one step of an event handler; a failing step is skipped, logged, and the handler goes on.
template <typename Step>
void skippable(const char* what, Step step) {
    try {
        step();
    } catch (const std::exception& error) {
        qCWarning(lcPhone) << what << "failed:" << error.what();
    }
}

}  // namespace

PhoneController::PhoneController(Services services, QObject* parent)
    : QObject(parent),
      services_(std::move(services)),
      callClock_(new QTimer(this)),
      ringRepeat_(new QTimer(this)) {
    callClock_->setObjectName(QStringLiteral("callClock"));
    ringRepeat_->setObjectName(QStringLiteral("ringRepeat"));
    callClock_->setInterval(1s);
    ringRepeat_->setInterval(4s);
    connect(callClock_, &QTimer::timeout, this, &PhoneController::onCallClockTick);
    connect(ringRepeat_, &QTimer::timeout, this,
            [this] { skippable("ring", [&] { engine_->playRing(true); }); });
}

PhoneController::~PhoneController() { shutdown(); }

void PhoneController::start() {
    try {
        if (!services_.createEngine)
            throw EngineError(EngineFailure::Unavailable, QStringLiteral("No SIP engine"));
        engine_ = services_.createEngine();
        if (!engine_)
            throw EngineError(EngineFailure::Unavailable, QStringLiteral("No SIP engine"));
        engine_->initialize();
        engine_->setEventHandlers(
            {[this](RegistrationState state) { onRegistration(state); },
             [this](const std::shared_ptr<ISession>& session, SessionState state) {
                 onSession(session, state);
             },
             [this](const QString& reason) { onCertificateRefused(reason); }});
    } catch (const std::exception& error) {
        engine_.reset();
        showStartError(error);
    }
    enableSavedAccount(true);
}

void PhoneController::loginAgain() { enableSavedAccount(false); }

void PhoneController::enableSavedAccount(bool emptyPasswordTakesAccount) {
    AccountSettings account{readSavedValue(services_.store, QStringLiteral("Account")),
                            readSavedValue(services_.store, QStringLiteral("Password")),
                            readSavedValue(services_.store, QStringLiteral("Sip")),
                            {},
                            readNetworkSettings(services_.store)};
    if (emptyPasswordTakesAccount && account.password.isEmpty()) account.password = account.account;
    try {
        if (!engine_)
            throw EngineError(EngineFailure::Unavailable, QStringLiteral("No SIP engine"));
        // The engine swaps the earlier account for this one only once it accepts it: a refused
        // login leaves the registration, the status that tells of it and the calls' server as
        // they were.
        engine_->enableAccount(account);
        server_ = account.server;
    } catch (const std::exception& error) {
        showStartError(error);
    }
}

NetworkSettings PhoneController::network() const { return readNetworkSettings(services_.store); }

void PhoneController::useNetwork(const NetworkSettings& settings) {
    writeNetworkSettings(services_.store, settings);
    enableSavedAccount(false);
}

void PhoneController::showStartError(const std::exception& error) {
    qCWarning(lcPhone) << "start-up:" << error.what();
    services_.messages.show(messageOwner_, tr("An Error Occured and has been logged. FORMLOAD"));
}

void PhoneController::forgetAccountUnlessSaved() {
    if (readSavedValue(services_.store, QStringLiteral("Save")) != QLatin1String("no")) return;
    for (const QString& key :
         {QStringLiteral("Password"), QStringLiteral("Account"), QStringLiteral("Sip")}) {
        if (!readSavedValue(services_.store, key).isEmpty()) services_.store.remove(key);
    }
}

void PhoneController::hangUpForExit() {
    if (!callActive()) return;
    // The engine's own stop hangs up whatever is left.
    skippable("hang-up at exit", [&] { session_->terminate(HangUpReason::Shutdown); });
}

void PhoneController::shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    dialling_ = false;
    callClock_->stop();
    ringRepeat_->stop();
    session_.reset();
    if (engine_) engine_->shutdown();
}

bool PhoneController::callActive() const { return session_ && isActive(session_->state()); }

bool PhoneController::inState(SessionState state) const {
    return session_ && session_->state() == state;
}

void PhoneController::setStatus(const QString& text) { emit statusChanged(text); }

void PhoneController::setControls(Controls controls) {
    if (controls == Controls::Idle) callClock_->stop();
    emit controlsChanged(controls);
}

void PhoneController::onRegistration(RegistrationState state) {
    const std::optional<QString> text = registrationText(state);
    if (!text) return;
    registration_ = state;
    setStatus(*text);
}

void PhoneController::onCertificateRefused(const QString& reason) {
    registration_ = RegistrationState::Failed;
    setStatus(tr("Certificate refused"));
    services_.messages.show(messageOwner_,
                            tr("The server's certificate was refused: %1").arg(reason));
}

void PhoneController::onSession(const std::shared_ptr<ISession>& session, SessionState state) {
    const bool current = session == session_;
    if (state == SessionState::Incoming && !current && (callActive() || dialling_)) {
        // One call at a time: a further caller hears busy and the live call is untouched.
        skippable("busy", [&] { session->terminate(HangUpReason::Busy); });
        recordMissedCall(callerNumber(session->remoteParty()));
        return;
    }
    // Late events of a call that is no longer the phone's own must not touch this one.
    if (state != SessionState::Incoming && !current) return;

    switch (state) {
        case SessionState::Idle: setStatus(tr("IDLE")); break;
        case SessionState::Incoming: {
            setStatus(tr("INCOMING"));
            callSeconds_ = 0;  // a declined caller is recorded as 0:0:0, not as the last call
            skippable("ring", [&] { engine_->playRing(true); });
            session_ = session;
            unanswered_ = true;
            ringRepeat_->start();
            setControls(Controls::Ringing);
            // The user sees who calls, and the call history names the caller.
            const QString caller = callerNumber(session->remoteParty());
            emit callerShown(caller);
            emit ringing(caller);
            break;
        }
        case SessionState::Answering:
            setStatus(tr("ANSWERING"));
            unanswered_ = false;
            ringRepeat_->stop();
            skippable("ring stop", [&] { engine_->playRing(false); });
            break;
        case SessionState::InProgress: setStatus(tr("INPROGRESS")); break;
        case SessionState::Connected:
            setStatus(tr("CONNECTED"));
            callClock_->start();
            setControls(Controls::InCall);
            break;
        case SessionState::Disconnected:
            session_.reset();
            setStatus(session->cause() == EndCause::PlainMediaRefused
                          ? tr("Refused: the far end offers no encrypted audio")
                          : tr("DISCONNECTED"));
            // A caller who gives up while it rings takes the ring with them.
            if (ringRepeat_->isActive()) skippable("ring stop", [&] { engine_->playRing(false); });
            ringRepeat_->stop();
            setControls(Controls::Idle);
            if (std::exchange(unanswered_, false))
                recordMissedCall(callerNumber(session->remoteParty()));
            break;
    }
}

QString connectedTimeText(int seconds) {
    return QObject::tr("CONNECTED %1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60)
        .arg(seconds % 60);
}

void PhoneController::onCallClockTick() { setStatus(connectedTimeText(++callSeconds_)); }

void PhoneController::showCallError(const std::exception& error, bool byDescription) {
    qCWarning(lcPhone) << "call:" << error.what();
    const auto* engineError = dynamic_cast<const EngineError*>(&error);
    QString detail;
    if (byDescription)
        detail = engineError ? engineError->description() : QString::fromUtf8(error.what());
    else
        detail =
            QString::number(engineError ? engineError->number() : int(EngineFailure::Unavailable));
    setStatus(QStringLiteral("Error:  ") + detail);
}

void PhoneController::dial(const QString& number) {
    // Whatever the status line shows now (a registration event may have overwritten it), a
    // ringing call is answered.
    if (!inState(SessionState::Incoming)) {
        placeCall(number);
        return;
    }
    unanswered_ = false;
    try {
        session_->answer();
    } catch (const std::exception& error) {
        showCallError(error);
    }
    try {
        engine_->playRing(false);
    } catch (const std::exception& error) {
        showCallError(error);
    }
}

void PhoneController::placeCall(const QString& number) {
    // One call at a time: Enter or Dial must not orphan a call that rings or runs.
    if (callActive() || dialling_) return;
    if (registration_ != RegistrationState::Registered) {
        services_.messages.show(messageOwner_,
                                tr("Sorry, you are not registered, please select Menu - LoginAs"));
        return;
    }
    dialling_ = true;
    dialNumber_ = number;
    dialCharacters_ = number.toUcs4();
    dialNextCharacter();
}

// One character a pace: its tone sounds (the player has its own thread), or a box says it is
// no key; the event loop runs meanwhile, so the window stays alive while a long number dials.
void PhoneController::dialNextCharacter() {
    if (!dialling_) return;
    if (dialCharacters_.isEmpty()) {
        dialling_ = false;
        createCall(dialNumber_);
        return;
    }
    const uint c = dialCharacters_.takeFirst();
    const DialKey* key = c < 0x80 ? keyForCharacter(QChar(c)) : nullptr;
    if (key)
        playKeyTone(QLatin1String(key->toneName));
    else if (c != 8)
        showNumbersOnlyError();
    QTimer::singleShot(kDialPace, this, &PhoneController::dialNextCharacter);
}

void PhoneController::createCall(const QString& number) {
    callSeconds_ = 0;
    const QString destination = QStringLiteral("sip:") + number + QLatin1Char('@') + server_;
    try {
        if (!engine_)
            throw EngineError(EngineFailure::Unavailable, QStringLiteral("No SIP engine"));
        engine_->setMaxBitrate(kMaxBitrate);
    } catch (const std::exception& error) {
        showCallError(error);
    }
    try {
        if (!engine_)
            throw EngineError(EngineFailure::Unavailable, QStringLiteral("No SIP engine"));
        // Ten characters are a PC-to-PC address, called without the account.
        session_ =
            engine_->createSession(number.size() == 10 ? CallRoute::Direct : CallRoute::ViaAccount);
        session_->call(destination);
        setControls(Controls::InCall);
    } catch (const std::exception& error) {
        // Nothing to end: the error stays on the status line and the idle controls come back.
        showCallError(error);
        session_.reset();
        setControls(Controls::Idle);
    }
}

void PhoneController::end(const QString& number) {
    unanswered_ = false;
    updateRecentCalls(number, callSeconds_ / 3600, callSeconds_ / 60 % 60, callSeconds_ % 60);
    if (!session_) {
        setControls(Controls::Idle);
        return;
    }
    const bool ringing = inState(SessionState::Incoming);
    try {
        session_->terminate(ringing ? HangUpReason::Reject : HangUpReason::Normal);
    } catch (const std::exception& error) {
        showCallError(error, true);
    }
    // The ring stops even when the engine could not reject the call.
    if (ringing) {
        ringRepeat_->stop();
        try {
            engine_->playRing(false);
        } catch (const std::exception& error) {
            showCallError(error, true);
        }
    }
}

void PhoneController::playKeyTone(const QString& toneName) {
    if (inState(SessionState::Connected)) {
        if (const DialKey* key = keyForToneName(toneName))
            skippable("DTMF", [&] { engine_->sendDtmf(key->dtmfCode); });
        return;
    }
    skippable("key tone", [&] { services_.player.playTone(toneName); });
}

void PhoneController::showNumbersOnlyError() {
    services_.messages.show(messageOwner_, tr("Numbers 0 to 9 only, please!"), tr("Input Error"),
                            MessageIcon::Exclamation);
}

void PhoneController::recordMissedCall(const QString& caller) {
    updateRecentCalls(caller, 0, 0, 0);
    emit missedCall(caller);
}

void PhoneController::runTuningWizard(QWidget* owner) {
    try {
        if (!engine_) throw EngineError(EngineFailure::NoWizard, QStringLiteral("No SIP engine"));
        engine_->invokeTuningWizard(owner);
    } catch (const std::exception& error) {
        qCWarning(lcPhone) << "tuning wizard:" << error.what();
        services_.messages.show(messageOwner_, tr("Error"));
    }
}

}  // namespace softphone
