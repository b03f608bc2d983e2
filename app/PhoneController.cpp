#include "app/PhoneController.h"

#include "app/PhoneLog.h"
#include "dialer/KeyTable.h"
#include "dialer/SoundPlayer.h"
#include "records/RecentCalls.h"
#include "support/SleepWatcher.h"

Q_LOGGING_CATEGORY(lcPhone, "softphone.phone")

namespace softphone {
namespace {

using namespace std::chrono_literals;

constexpr auto kDialPace = 100ms;  // each dialled character's tone before the next
constexpr int kMaxBitrate = 60000;
// Ten characters are a PC-to-PC address, called without the account.
constexpr int kDirectNumberLength = 10;
// The engine rates a line from 0 to 5; below 3 it is poor, and for this long in a row the user
// is told.
constexpr double kPoorQuality = 3.0;
constexpr int kPoorSecondsShown = 5;

// The states of the registration the phone acts on; the others change nothing for it.
bool matters(RegistrationState state) {
    return state != RegistrationState::Unregistering && state != RegistrationState::Failed;
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

QString callerOf(const Party& party) {
    return party.number.isEmpty() ? party.address : party.number;
}

}  // namespace

PhoneController::PhoneController(Services services, QObject* parent)
    : QObject(parent), services_(std::move(services)), callClock_(new QTimer(this)) {
    callClock_->setObjectName(QStringLiteral("callClock"));
    callClock_->setInterval(1s);
    connect(callClock_, &QTimer::timeout, this, [this] {
        setCallSeconds(callSeconds_ + 1);
        sampleLine();
    });
}

PhoneController::~PhoneController() { shutdown(); }

void PhoneController::start(AccountSettings account) {
    try {
        if (services_.createEngine) engine_ = services_.createEngine();
        if (!engine_)
            throw EngineError(EngineFailure::Unavailable, QStringLiteral("No SIP engine"));
        engine_->initialize();
        connect(engine_.get(), &ISipEngine::registrationChanged, this,
                &PhoneController::onRegistration);
        connect(engine_.get(), &ISipEngine::sessionChanged, this, &PhoneController::onSession);
        connect(engine_.get(), &ISipEngine::holdChanged, this,
                [this](const std::shared_ptr<ISession>& session) {
                    if (session == session_) setHold(session->hold());
                });
        connect(engine_.get(), &ISipEngine::certificateRefused, this,
                &PhoneController::onCertificateRefused);
    } catch (const std::exception& error) {
        engine_.reset();
        fail(PhoneFailure::Kind::StartUp, error);
    }
    if (account.password.isEmpty()) account.password = account.account;
    logIn(account);
}

void PhoneController::logIn(const AccountSettings& account) {
    if (!engine_) {
        fail(PhoneFailure::Kind::StartUp, std::runtime_error("No SIP engine"));
        return;
    }
    // The engine swaps the earlier account for this one only once it accepts it: a refused
    // login leaves the registration and the state that tells of it as they were.
    try {
        engine_->enableAccount(account);
    } catch (const std::exception& error) {
        fail(PhoneFailure::Kind::StartUp, error);
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
    setRinging(false);
    session_.reset();
    if (engine_) engine_->shutdown();
}

void PhoneController::fail(PhoneFailure::Kind kind, const std::exception& error) {
    qCWarning(lcPhone) << "failed:" << error.what();
    const auto* engineError = dynamic_cast<const EngineError*>(&error);
    emit failed({kind, engineError ? engineError->number() : int(EngineFailure::Unavailable),
                 engineError ? engineError->description() : QString::fromUtf8(error.what())});
}

void PhoneController::followSleep(SleepWatcher& sleep) {
    connect(&sleep, &SleepWatcher::aboutToSleep, this, &PhoneController::prepareForSleep);
    connect(this, &PhoneController::readyForSleep, &sleep, &SleepWatcher::allowSleep);
    connect(&sleep, &SleepWatcher::wokeUp, this, &PhoneController::resumeAfterSleep);
}

void PhoneController::prepareForSleep() {
    goingToSleep_ = true;
    dialling_ = false;
    hangUpForExit();
    if (engine_) skippable("unregister before sleep", [&] { engine_->unregister(); });
    checkReadyForSleep();
}

void PhoneController::resumeAfterSleep() {
    goingToSleep_ = false;
    if (engine_) skippable("register after sleep", [&] { engine_->registerAgain(); });
}

void PhoneController::checkReadyForSleep() {
    const bool signedOff = registration_ != RegistrationState::Registered &&
                           registration_ != RegistrationState::Registering;
    if (!goingToSleep_ || callActive() || !signedOff) return;
    goingToSleep_ = false;
    emit readyForSleep();
}

void PhoneController::setCallState(SessionState state) {
    callState_ = state;
    emit callStateChanged(state);
}

void PhoneController::setControls(Controls controls) {
    if (controls == Controls::Idle) callClock_->stop();
    controls_ = controls;
    emit controlsChanged(controls);
}

void PhoneController::setRinging(bool ringing) {
    if (ringing == ringing_) return;
    ringing_ = ringing;
    emit ringingChanged(ringing);
}

void PhoneController::setCallSeconds(int seconds) {
    callSeconds_ = seconds;
    emit callSecondsChanged(seconds);
}

void PhoneController::setMutedState(bool muted) {
    if (muted == muted_) return;
    muted_ = muted;
    emit mutedChanged(muted);
}

void PhoneController::setHold(Hold hold) {
    if (hold == hold_) return;
    hold_ = hold;
    emit holdChanged(hold);
}

void PhoneController::setPoorLine(bool poor) {
    if (poor == poorLine_) return;
    poorLine_ = poor;
    emit poorLineChanged(poor);
}

void PhoneController::resetCallFeatures() {
    setMutedState(false);
    setHold({});
    poorSeconds_ = 0;
    setPoorLine(false);
    line_ = {};
}

void PhoneController::sampleLine() {
    if (!inState(SessionState::Connected)) return;
    skippable("line statistics", [&] { line_ = session_->line(); });
    poorSeconds_ = line_.quality < kPoorQuality ? poorSeconds_ + 1 : 0;
    setPoorLine(poorSeconds_ >= kPoorSecondsShown);
    emit lineChanged(line_);
}

void PhoneController::onRegistration(RegistrationState state) {
    if (!matters(state)) return;
    registration_ = state;
    emit registrationChanged(state);
    checkReadyForSleep();
}

void PhoneController::onCertificateRefused(const QString& reason) {
    registration_ = RegistrationState::Failed;
    emit registrationChanged(registration_);
    emit failed({PhoneFailure::Kind::CertificateRefused, 0, reason});
}

void PhoneController::onSession(const std::shared_ptr<ISession>& session, SessionState state) {
    const bool current = session == session_;
    if (state == SessionState::Incoming && !current && (callActive() || dialling_)) {
        // One call at a time: a further caller hears busy and the live call is untouched.
        skippable("busy", [&] { session->terminate(HangUpReason::Busy); });
        recordMissedCall(callerOf(session->farEnd()));
        return;
    }
    // Late events of a call that is no longer the phone's own must not touch this one.
    if (state != SessionState::Incoming && !current) return;

    switch (state) {
        case SessionState::Idle: setCallState(state); break;
        case SessionState::Incoming:
            setCallSeconds(0);  // a declined caller is recorded as 0:0:0, not as the last call
            resetCallFeatures();
            session_ = session;
            endCause_ = EndCause::Other;
            setCallState(state);
            setRinging(true);
            unanswered_ = true;
            setControls(Controls::Ringing);
            // The user sees who calls, and the call history names the caller.
            caller_ = callerOf(session->farEnd());
            emit callerChanged(caller_);
            emit incomingCall(caller_);
            break;
        case SessionState::Answering:
            setCallState(state);
            unanswered_ = false;
            setRinging(false);
            break;
        case SessionState::InProgress: setCallState(state); break;
        case SessionState::Connected:
            setCallState(state);
            callClock_->start();
            setControls(Controls::InCall);
            break;
        case SessionState::Disconnected:
            session_.reset();
            endCause_ = session->cause();
            resetCallFeatures();
            setCallState(state);
            // A caller who gives up while it rings takes the ring with them.
            setRinging(false);
            setControls(Controls::Idle);
            if (std::exchange(unanswered_, false)) recordMissedCall(callerOf(session->farEnd()));
            checkReadyForSleep();
            break;
    }
}

void PhoneController::dial(const QString& number) {
    // Whatever the status line shows now (a registration event may have overwritten it), a
    // ringing call is answered.
    if (!inState(SessionState::Incoming)) {
        if (!number.trimmed().isEmpty())
            placeCall(number);
        else if (const QString last = lastCalledNumber(); !last.isEmpty() && !callActive())
            emit numberRecalled(last);
        return;
    }
    unanswered_ = false;
    try {
        session_->answer();
    } catch (const std::exception& error) {
        fail(PhoneFailure::Kind::Call, error);
    }
    setRinging(false);
}

void PhoneController::placeCall(const QString& number) {
    // One call at a time: Enter or Dial must not orphan a call that rings or runs.
    if (callActive() || dialling_ || number.trimmed().isEmpty()) return;
    if (registration_ != RegistrationState::Registered) {
        emit failed({PhoneFailure::Kind::NotRegistered, 0, {}});
        return;
    }
    dialling_ = true;
    dialNumber_ = number;
    dialCharacters_ = number.toUcs4();
    dialNextCharacter();
}

// One character a pace: its tone sounds (the player has its own thread), or the user is told it
// is no key; the event loop runs meanwhile, so the window stays alive while a long number dials.
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
        pressKey(*key);
    else if (c != 8)
        emit failed({PhoneFailure::Kind::NotAKey, 0, {}});
    QTimer::singleShot(kDialPace, this, &PhoneController::dialNextCharacter);
}

void PhoneController::createCall(const QString& number) {
    setCallSeconds(0);
    resetCallFeatures();
    endCause_ = EndCause::Other;
    try {
        engine_->setMaxBitrate(kMaxBitrate);
    } catch (const std::exception& error) {
        fail(PhoneFailure::Kind::Call, error);
    }
    try {
        session_ = engine_->createSession(
            number.size() == kDirectNumberLength ? CallRoute::Direct : CallRoute::ViaAccount);
        session_->call(number);
        setControls(Controls::InCall);
    } catch (const std::exception& error) {
        // Nothing to end: the error stays on the status line and the idle controls come back.
        fail(PhoneFailure::Kind::Call, error);
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
        fail(PhoneFailure::Kind::HangUp, error);
    }
    // The ring stops even when the engine could not reject the call.
    if (ringing) setRinging(false);
}

void PhoneController::pressKey(const DialKey& key) {
    if (inState(SessionState::Connected)) {
        skippable("DTMF", [&] { engine_->sendDtmf(key.dtmfCode); });
        return;
    }
    skippable("key tone", [&] { services_.keyTones.playTone(QLatin1String(key.toneName)); });
}

void PhoneController::setMuted(bool muted) {
    if (!inState(SessionState::Connected)) return;
    try {
        session_->setMicrophoneMuted(muted);
        setMutedState(muted);
    } catch (const std::exception& error) {
        fail(PhoneFailure::Kind::Call, error);
    }
}

void PhoneController::setHeld(bool held) {
    if (!inState(SessionState::Connected)) return;
    try {
        session_->setHeld(held);
    } catch (const std::exception& error) {
        fail(PhoneFailure::Kind::Call, error);
    }
}

void PhoneController::recordMissedCall(const QString& caller) {
    updateRecentCalls(caller, 0, 0, 0);
    emit missedCall(caller);
}

}  // namespace softphone
