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
QString connectedTimeText(int seconds);

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
    void setMessageOwner(QWidget* owner) { messageOwner_ = owner; }

    // Start-up, once the user logged in: the engine, then the saved account (an empty saved
    // password takes the account number). Login As: the saved account again, as saved.
    void start();
    void loginAgain();
    // The saved network settings; new ones are saved and the account registers again with them.
    NetworkSettings network() const;
    void useNetwork(const NetworkSettings& settings);
    // Leaving: a live call is hung up; the close button also erases the saved account when the
    // user did not tick Save.
    void hangUpForExit();
    void forgetAccountUnlessSaved();
    // The engine hangs up, unregisters and stops; once.
    void shutdown();

    // Dial: answers the ringing call, or places a call to `number`.
    void dial(const QString& number);
    // Tones for each character at the dialling pace, then the call; nothing while a call rings
    // or runs or one is being dialled.
    void placeCall(const QString& number);
    // End: records the call under `number`, then rejects a ringing call or ends the call.
    void end(const QString& number);
    // A key's tone, or its DTMF digit to the far end while connected.
    void playKeyTone(const QString& toneName);
    void showNumbersOnlyError();
    void runTuningWizard(QWidget* owner);
    // One more second of the connected call (the call clock's tick).
    void onCallClockTick();

    RegistrationState registration() const { return registration_; }
    const std::shared_ptr<ISession>& session() const { return session_; }
    bool callActive() const;
    bool dialling() const { return dialling_; }

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
    void onRegistration(RegistrationState state);
    void onSession(const std::shared_ptr<ISession>& session, SessionState state);
    void onCertificateRefused(const QString& reason);
    bool inState(SessionState state) const;
    void setStatus(const QString& text);
    void setControls(Controls controls);
    void showStartError(const std::exception& error);
    void showCallError(const std::exception& error, bool byDescription = false);
    void enableSavedAccount(bool emptyPasswordTakesAccount);
    void dialNextCharacter();
    void createCall(const QString& number);
    void recordMissedCall(const QString& caller);

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
