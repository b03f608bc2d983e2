#pragma once

#include <QList>
#include <QObject>
#include <QTimer>
#include <memory>

#include "app/SipEngine.h"

namespace softphone {

class SleepWatcher;

class ISoundPlayer;
struct DialKey;

// What the phone could not do, for the window to tell the user.
struct PhoneFailure {
    enum class Kind {
        StartUp,             // the engine or the account could not be started
        NotRegistered,       // a call was asked for without a registration
        NotAKey,             // a dialled character has no key
        Call,                // placing or answering a call failed
        HangUp,              // ending or rejecting a call failed
        CertificateRefused,  // the server's certificate did not verify
    };
    Kind kind;
    int code = 0;         // the engine's number (a SIP status or its own)
    QString description;  // the engine's words, or why the certificate was refused
};

// The phone: registration and one call at a time, without widgets, boxes or texts. The handset
// window shows its state and hands it the user's actions.
class PhoneController : public QObject {
    Q_OBJECT
    Q_PROPERTY(RegistrationState registration READ registration NOTIFY registrationChanged)
    Q_PROPERTY(SessionState callState READ callState NOTIFY callStateChanged)
    Q_PROPERTY(Controls controls READ controls NOTIFY controlsChanged)
    Q_PROPERTY(QString caller READ caller NOTIFY callerChanged)
    Q_PROPERTY(int callSeconds READ callSeconds NOTIFY callSecondsChanged)
    Q_PROPERTY(bool ringing READ ringing NOTIFY ringingChanged)
    Q_PROPERTY(bool muted READ muted NOTIFY mutedChanged)
    Q_PROPERTY(bool poorLine READ poorLine NOTIFY poorLineChanged)
public:
    struct Services {
        ISoundPlayer& keyTones;
        EngineFactory createEngine;
    };
    // Which controls the user may use: Dial, Clear, Back and the number field while idle, End
    // while a call rings or runs; Ringing is the idle set with End.
    enum class Controls { Idle, Ringing, InCall };
    Q_ENUM(Controls)

    explicit PhoneController(Services services, QObject* parent = nullptr);
    ~PhoneController() override;

    // Start-up, once the user logged in: the engine, then the account (an empty password takes
    // the account number).
    void start(AccountSettings account);
    // Login As and new network settings: the account registers again, as given.
    void logIn(const AccountSettings& account);
    // Leaving: a live call is hung up.
    void hangUpForExit();
    // The engine hangs up, unregisters and stops; once.
    void shutdown();

    // Dial: answers the ringing call, or places a call to `number`; with no number, the newest
    // of the call history is recalled for a second Dial.
    void dial(const QString& number);
    // Tones for each character at the dialling pace, then the call; nothing while a call rings
    // or runs or one is being dialled, nor for an empty number.
    void placeCall(const QString& number);
    // End: records the call under `number`, then rejects a ringing call or ends the call.
    void end(const QString& number);
    // A dial key: its tone, or its DTMF digit to the far end while connected.
    void pressKey(const DialKey& key);
    // Mute and Hold act on a connected call only; each new call starts unmuted and not held.
    void setMuted(bool muted);
    void setHeld(bool held);

    RegistrationState registration() const { return registration_; }
    // The last state of the phone's call; Idle before the first.
    SessionState callState() const { return callState_; }
    Controls controls() const { return controls_; }
    // Who calls, as the number field shows it: the number, or the whole address without one.
    const QString& caller() const { return caller_; }
    // Of the connected call (or the last one), for its clock and the call history.
    int callSeconds() const { return callSeconds_; }
    bool ringing() const { return ringing_; }
    bool muted() const { return muted_; }
    Hold hold() const { return hold_; }
    // Of the connected call, sampled each second.
    const LineStats& line() const { return line_; }
    // The engine has rated the line poor for the last few seconds.
    bool poorLine() const { return poorLine_; }
    // Why the last call ended.
    EndCause endCause() const { return endCause_; }
    // Decided by the call's own state, which may be ahead of the last one reported.
    bool callActive() const { return session_ && isActive(session_->state()); }
    bool dialling() const { return dialling_; }
    const std::shared_ptr<ISession>& session() const { return session_; }

    // Takes the machine's sleep from `sleep`: prepareForSleep before it, resumeAfterSleep after.
    void followSleep(SleepWatcher& sleep);

public slots:
    // Before the machine sleeps: a live call is hung up and the account unregisters, so callers
    // meet the provider's "not available" instead of a sleeping machine; readyForSleep follows
    // once both are answered.
    void prepareForSleep();
    // On waking: the account registers again at once.
    void resumeAfterSleep();

signals:
    // Each of these follows the engine's report, also where the value stays the same.
    void registrationChanged(RegistrationState state);
    void callStateChanged(SessionState state);
    // The call is hung up and the account no longer registered: the machine may sleep.
    void readyForSleep();
    void controlsChanged(PhoneController::Controls controls);
    void callerChanged(const QString& number);
    void callSecondsChanged(int seconds);
    void ringingChanged(bool ringing);
    void mutedChanged(bool muted);
    void holdChanged(Hold hold);
    void lineChanged(const LineStats& line);
    void poorLineChanged(bool poor);
    // Dial without a number: the number to show in the number field.
    void numberRecalled(const QString& number);
    void failed(const PhoneFailure& failure);
    // A call rings, for a desktop notification.
    void incomingCall(const QString& number);
    // A caller gave up before an answer, or was sent away busy; already in the call history.
    void missedCall(const QString& number);

private:
    void onRegistration(RegistrationState state);
    void onSession(const std::shared_ptr<ISession>& session, SessionState state);
    void onCertificateRefused(const QString& reason);
    bool inState(SessionState state) const { return session_ && session_->state() == state; }
    void setCallState(SessionState state);
    void setControls(Controls controls);
    void setRinging(bool ringing);
    void setCallSeconds(int seconds);
    void setMutedState(bool muted);
    void setHold(Hold hold);
    void setPoorLine(bool poor);
    void resetCallFeatures();
    void sampleLine();
    void fail(PhoneFailure::Kind kind, const std::exception& error);
    void dialNextCharacter();
    void createCall(const QString& number);
    void recordMissedCall(const QString& caller);
    void checkReadyForSleep();

    Services services_;
    std::unique_ptr<ISipEngine> engine_;
    RegistrationState registration_ = RegistrationState::NotRegistered;
    SessionState callState_ = SessionState::Idle;
    Controls controls_ = Controls::Idle;
    QString caller_;
    int callSeconds_ = 0;
    bool ringing_ = false;
    bool muted_ = false;
    Hold hold_;
    LineStats line_;
    int poorSeconds_ = 0;  // in a row
    bool poorLine_ = false;
    EndCause endCause_ = EndCause::Other;
    std::shared_ptr<ISession> session_;
    QTimer* callClock_;        // a second of the connected call
    bool unanswered_ = false;  // the call rang and neither Dial nor End was pressed
    bool dialling_ = false;
    QString dialNumber_;          // being dialled
    QList<uint> dialCharacters_;  // its characters still to sound
    bool shutDown_ = false;
    bool goingToSleep_ = false;  // readyForSleep not yet signalled
};

}  // namespace softphone
