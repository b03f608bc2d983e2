#pragma once

#include <QList>
#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>

#include "app/SipEngine.h"

class QWidget;

namespace softphone {

class IMessageBox;
class ISettingsStore;
class ISoundPlayer;

// "CONNECTED h:m:s" for a call connected that many seconds, without leading zeros.
QString ConnectedTimeText(int seconds);

// The phone's registration and call logic, without widgets: the handset window shows its status
// text, control set and caller, and hands it the user's actions. One call at a time.
class PhoneController : public QObject {
    Q_OBJECT
public:
    struct Services {
        ISettingsStore& store;
        IMessageBox& messages;
        ISoundPlayer& player;  // key tones
        EngineFactory createEngine;
    };
    // Which controls the user may use: Dial, Clear, Back and the number field while idle, End
    // while a call rings or runs; Ringing is the idle set with End.
    enum class Controls { Idle, Ringing, InCall };

    explicit PhoneController(Services services, QObject* parent = nullptr);
    ~PhoneController() override;

    // Message boxes are shown over this window.
    void SetMessageOwner(QWidget* owner) { messageOwner_ = owner; }

    // Start-up, once the user logged in: the engine, then the saved account (an empty saved
    // password takes the account number). Login As: the saved account again, as saved.
    void Start();
    void LoginAgain();
    // The saved network settings; new ones are saved and the account registers again with them.
    NetworkSettings Network() const;
    void UseNetwork(const NetworkSettings& settings);
    // Leaving: a live call is hung up; the close button also erases the saved account when the
    // user did not tick Save.
    void HangUpForExit();
    void ForgetAccountUnlessSaved();
    // The engine hangs up, unregisters and stops; once.
    void Shutdown();

    // Dial: answers the ringing call, or places a call to `number`.
    void Dial(const QString& number);
    // Tones for each character at the dialling pace, then the call; nothing while a call rings
    // or runs or one is being dialled.
    void PlaceCall(const QString& number);
    // End: records the call under `number`, then rejects a ringing call or ends the call.
    void End(const QString& number);
    // A key's tone, or its DTMF digit to the far end while connected.
    void PlayKeyTone(const QString& toneName);
    void ShowNumbersOnlyError();
    void RunTuningWizard(QWidget* owner);
    // One more second of the connected call (the call clock's tick).
    void OnCallClockTick();

    RegistrationState Registration() const { return registration_; }
    const std::shared_ptr<ISession>& Session() const { return session_; }
    bool CallActive() const;
    bool Dialling() const { return dialling_; }

signals:
    void statusChanged(const QString& text);
    void controlsChanged(PhoneController::Controls controls);
    // The caller of a ringing call, as the number field should show it.
    void callerShown(const QString& number);
    // A caller gave up before an answer, or was sent away busy; already in the call history.
    void missedCall(const QString& number);
    // A ringing call, for a desktop notification.
    void ringing(const QString& number);

private:
    void OnRegistration(RegistrationState state);
    void OnSession(const std::shared_ptr<ISession>& session, SessionState state);
    void OnCertificateRefused(const QString& reason);
    bool InState(SessionState state) const;
    void SetStatus(const QString& text);
    void SetControls(Controls controls);
    void ShowStartError(const std::exception& error);
    void ShowCallError(const std::exception& error, bool byDescription = false);
    void EnableSavedAccount(bool emptyPasswordTakesAccount);
    void DialNextCharacter();
    void CreateCall(const QString& number);
    void RecordMissedCall(const QString& caller);

    Services services_;
    QWidget* messageOwner_ = nullptr;
    std::unique_ptr<ISipEngine> engine_;
    RegistrationState registration_ = RegistrationState::NotRegistered;
    std::shared_ptr<ISession> session_;
    QString server_;  // as typed at the last login; calls go to number@server
    int callSeconds_ = 0;
    QTimer* callClock_;        // a second of the connected call
    QTimer* ringRepeat_;       // the ring again while a call rings
    bool unanswered_ = false;  // the call rang and neither Dial nor End was pressed
    bool dialling_ = false;
    QString dialNumber_;          // being dialled
    QList<uint> dialCharacters_;  // its characters still to sound
    bool shutDown_ = false;
};

}  // namespace softphone
