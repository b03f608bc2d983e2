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
std::optional<QString> RegistrationText(RegistrationState state) {
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
void Skippable(const char* what, Step step) {
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
    connect(callClock_, &QTimer::timeout, this, &PhoneController::OnCallClockTick);
    connect(ringRepeat_, &QTimer::timeout, this,
            [this] { Skippable("ring", [&] { engine_->PlayRing(true); }); });
}

PhoneController::~PhoneController() { Shutdown(); }

void PhoneController::Start() {
    try {
        if (!services_.createEngine)
            throw EngineError(EngineFailure::Unavailable, QStringLiteral("No SIP engine"));
        engine_ = services_.createEngine();
        if (!engine_)
            throw EngineError(EngineFailure::Unavailable, QStringLiteral("No SIP engine"));
        engine_->Initialize();
        engine_->SetEventHandlers(
            {[this](RegistrationState state) { OnRegistration(state); },
             [this](const std::shared_ptr<ISession>& session, SessionState state) {
                 OnSession(session, state);
             },
             [this](const QString& reason) { OnCertificateRefused(reason); }});
    } catch (const std::exception& error) {
        engine_.reset();
        ShowStartError(error);
    }
    EnableSavedAccount(true);
}

void PhoneController::LoginAgain() { EnableSavedAccount(false); }

void PhoneController::EnableSavedAccount(bool emptyPasswordTakesAccount) {
    AccountSettings account{ReadSavedValue(services_.store, QStringLiteral("Account")),
                            ReadSavedValue(services_.store, QStringLiteral("Password")),
                            ReadSavedValue(services_.store, QStringLiteral("Sip")),
                            {},
                            ReadNetworkSettings(services_.store)};
    if (emptyPasswordTakesAccount && account.password.isEmpty()) account.password = account.account;
    try {
        if (!engine_)
            throw EngineError(EngineFailure::Unavailable, QStringLiteral("No SIP engine"));
        // The engine swaps the earlier account for this one only once it accepts it: a refused
        // login leaves the registration, the status that tells of it and the calls' server as
        // they were.
        engine_->EnableAccount(account);
        server_ = account.server;
    } catch (const std::exception& error) {
        ShowStartError(error);
    }
}

NetworkSettings PhoneController::Network() const { return ReadNetworkSettings(services_.store); }

void PhoneController::UseNetwork(const NetworkSettings& settings) {
    WriteNetworkSettings(services_.store, settings);
    EnableSavedAccount(false);
}

void PhoneController::ShowStartError(const std::exception& error) {
    qCWarning(lcPhone) << "start-up:" << error.what();
    services_.messages.Show(messageOwner_, tr("An Error Occured and has been logged. FORMLOAD"));
}

void PhoneController::ForgetAccountUnlessSaved() {
    if (ReadSavedValue(services_.store, QStringLiteral("Save")) != QLatin1String("no")) return;
    for (const QString& key :
         {QStringLiteral("Password"), QStringLiteral("Account"), QStringLiteral("Sip")}) {
        if (!ReadSavedValue(services_.store, key).isEmpty()) services_.store.Delete(key);
    }
}

void PhoneController::HangUpForExit() {
    if (!CallActive()) return;
    // The engine's own stop hangs up whatever is left.
    Skippable("hang-up at exit", [&] { session_->Terminate(HangUpReason::Shutdown); });
}

void PhoneController::Shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    dialling_ = false;
    callClock_->stop();
    ringRepeat_->stop();
    session_.reset();
    if (engine_) engine_->Shutdown();
}

bool PhoneController::CallActive() const { return session_ && IsActive(session_->State()); }

bool PhoneController::InState(SessionState state) const {
    return session_ && session_->State() == state;
}

void PhoneController::SetStatus(const QString& text) { emit statusChanged(text); }

void PhoneController::SetControls(Controls controls) {
    if (controls == Controls::Idle) callClock_->stop();
    emit controlsChanged(controls);
}

void PhoneController::OnRegistration(RegistrationState state) {
    const std::optional<QString> text = RegistrationText(state);
    if (!text) return;
    registration_ = state;
    SetStatus(*text);
}

void PhoneController::OnCertificateRefused(const QString& reason) {
    registration_ = RegistrationState::Failed;
    SetStatus(tr("Certificate refused"));
    services_.messages.Show(messageOwner_,
                            tr("The server's certificate was refused: %1").arg(reason));
}

void PhoneController::OnSession(const std::shared_ptr<ISession>& session, SessionState state) {
    const bool current = session == session_;
    if (state == SessionState::Incoming && !current && (CallActive() || dialling_)) {
        // One call at a time: a further caller hears busy and the live call is untouched.
        Skippable("busy", [&] { session->Terminate(HangUpReason::Busy); });
        RecordMissedCall(CallerNumber(session->RemoteParty()));
        return;
    }
    // Late events of a call that is no longer the phone's own must not touch this one.
    if (state != SessionState::Incoming && !current) return;

    switch (state) {
        case SessionState::Idle: SetStatus(tr("IDLE")); break;
        case SessionState::Incoming: {
            SetStatus(tr("INCOMING"));
            callSeconds_ = 0;  // a declined caller is recorded as 0:0:0, not as the last call
            Skippable("ring", [&] { engine_->PlayRing(true); });
            session_ = session;
            unanswered_ = true;
            ringRepeat_->start();
            SetControls(Controls::Ringing);
            // The user sees who calls, and the call history names the caller.
            const QString caller = CallerNumber(session->RemoteParty());
            emit callerShown(caller);
            emit ringing(caller);
            break;
        }
        case SessionState::Answering:
            SetStatus(tr("ANSWERING"));
            unanswered_ = false;
            ringRepeat_->stop();
            Skippable("ring stop", [&] { engine_->PlayRing(false); });
            break;
        case SessionState::InProgress: SetStatus(tr("INPROGRESS")); break;
        case SessionState::Connected:
            SetStatus(tr("CONNECTED"));
            callClock_->start();
            SetControls(Controls::InCall);
            break;
        case SessionState::Disconnected:
            session_.reset();
            SetStatus(session->Cause() == EndCause::PlainMediaRefused
                          ? tr("Refused: the far end offers no encrypted audio")
                          : tr("DISCONNECTED"));
            // A caller who gives up while it rings takes the ring with them.
            if (ringRepeat_->isActive()) Skippable("ring stop", [&] { engine_->PlayRing(false); });
            ringRepeat_->stop();
            SetControls(Controls::Idle);
            if (std::exchange(unanswered_, false))
                RecordMissedCall(CallerNumber(session->RemoteParty()));
            break;
    }
}

QString ConnectedTimeText(int seconds) {
    return QObject::tr("CONNECTED %1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60)
        .arg(seconds % 60);
}

void PhoneController::OnCallClockTick() { SetStatus(ConnectedTimeText(++callSeconds_)); }

void PhoneController::ShowCallError(const std::exception& error, bool byDescription) {
    qCWarning(lcPhone) << "call:" << error.what();
    const auto* engineError = dynamic_cast<const EngineError*>(&error);
    QString detail;
    if (byDescription)
        detail = engineError ? engineError->Description() : QString::fromUtf8(error.what());
    else
        detail =
            QString::number(engineError ? engineError->Number() : int(EngineFailure::Unavailable));
    SetStatus(QStringLiteral("Error:  ") + detail);
}

void PhoneController::Dial(const QString& number) {
    // Whatever the status line shows now (a registration event may have overwritten it), a
    // ringing call is answered.
    if (!InState(SessionState::Incoming)) {
        PlaceCall(number);
        return;
    }
    unanswered_ = false;
    try {
        session_->Answer();
    } catch (const std::exception& error) {
        ShowCallError(error);
    }
    try {
        engine_->PlayRing(false);
    } catch (const std::exception& error) {
        ShowCallError(error);
    }
}

void PhoneController::PlaceCall(const QString& number) {
    // One call at a time: Enter or Dial must not orphan a call that rings or runs.
    if (CallActive() || dialling_) return;
    if (registration_ != RegistrationState::Registered) {
        services_.messages.Show(messageOwner_,
                                tr("Sorry, you are not registered, please select Menu - LoginAs"));
        return;
    }
    dialling_ = true;
    dialNumber_ = number;
    dialCharacters_ = number.toUcs4();
    DialNextCharacter();
}

// One character a pace: its tone sounds (the player has its own thread), or a box says it is
// no key; the event loop runs meanwhile, so the window stays alive while a long number dials.
void PhoneController::DialNextCharacter() {
    if (!dialling_) return;
    if (dialCharacters_.isEmpty()) {
        dialling_ = false;
        CreateCall(dialNumber_);
        return;
    }
    const uint c = dialCharacters_.takeFirst();
    const DialKey* key = c < 0x80 ? KeyForCharacter(QChar(c)) : nullptr;
    if (key)
        PlayKeyTone(QLatin1String(key->toneName));
    else if (c != 8)
        ShowNumbersOnlyError();
    QTimer::singleShot(kDialPace, this, &PhoneController::DialNextCharacter);
}

void PhoneController::CreateCall(const QString& number) {
    callSeconds_ = 0;
    const QString destination = QStringLiteral("sip:") + number + QLatin1Char('@') + server_;
    try {
        if (!engine_)
            throw EngineError(EngineFailure::Unavailable, QStringLiteral("No SIP engine"));
        engine_->SetMaxBitrate(kMaxBitrate);
    } catch (const std::exception& error) {
        ShowCallError(error);
    }
    try {
        if (!engine_)
            throw EngineError(EngineFailure::Unavailable, QStringLiteral("No SIP engine"));
        // Ten characters are a PC-to-PC address, called without the account.
        session_ =
            engine_->CreateSession(number.size() == 10 ? CallRoute::Direct : CallRoute::ViaAccount);
        session_->Call(destination);
        SetControls(Controls::InCall);
    } catch (const std::exception& error) {
        // Nothing to end: the error stays on the status line and the idle controls come back.
        ShowCallError(error);
        session_.reset();
        SetControls(Controls::Idle);
    }
}

void PhoneController::End(const QString& number) {
    unanswered_ = false;
    UpdateRecentCalls(number, callSeconds_ / 3600, callSeconds_ / 60 % 60, callSeconds_ % 60);
    if (!session_) {
        SetControls(Controls::Idle);
        return;
    }
    const bool ringing = InState(SessionState::Incoming);
    try {
        session_->Terminate(ringing ? HangUpReason::Reject : HangUpReason::Normal);
    } catch (const std::exception& error) {
        ShowCallError(error, true);
    }
    // The ring stops even when the engine could not reject the call.
    if (ringing) {
        ringRepeat_->stop();
        try {
            engine_->PlayRing(false);
        } catch (const std::exception& error) {
            ShowCallError(error, true);
        }
    }
}

void PhoneController::PlayKeyTone(const QString& toneName) {
    if (InState(SessionState::Connected)) {
        if (const DialKey* key = KeyForToneName(toneName))
            Skippable("DTMF", [&] { engine_->SendDTMF(key->dtmfCode); });
        return;
    }
    Skippable("key tone", [&] { services_.player.PlayTone(toneName); });
}

void PhoneController::ShowNumbersOnlyError() {
    services_.messages.Show(messageOwner_, tr("Numbers 0 to 9 only, please!"), tr("Input Error"),
                            MessageIcon::Exclamation);
}

void PhoneController::RecordMissedCall(const QString& caller) {
    UpdateRecentCalls(caller, 0, 0, 0);
    emit missedCall(caller);
}

void PhoneController::RunTuningWizard(QWidget* owner) {
    try {
        if (!engine_) throw EngineError(EngineFailure::NoWizard, QStringLiteral("No SIP engine"));
        engine_->InvokeTuningWizard(owner);
    } catch (const std::exception& error) {
        qCWarning(lcPhone) << "tuning wizard:" << error.what();
        services_.messages.Show(messageOwner_, tr("Error"));
    }
}

}  // namespace softphone
