#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "app/SipEngine.h"
#include "dialer/DeskServices.h"
#include "dialer/NumberKeyFilter.h"

class QComboBox;
class QFrame;
class QLabel;
class QMenu;

namespace softphone {

class IMessageBox;
class IModalWindows;
class ISettingsStore;
class ISoundPlayer;
class PictureButton;

// The handset window: owns the account, the engine client, the current call and the controls.
class HandsetWindow : public QWidget, public INumberEntry {
    Q_OBJECT
public:
    struct Services {
        ISettingsStore& store;
        IMessageBox& messages;
        IModalWindows& windows;
        ISoundPlayer& player;
        EngineFactory createEngine;
    };

    explicit HandsetWindow(Services services, QWidget* parent = nullptr);
    ~HandsetWindow() override;

    // Start-up: the window's load handler.
    void Start();
    bool Ended() const { return ended_; }

    // False when the login dialog was left without logging in.
    bool LoadLoginSettings();
    void ExitApplication();
    void InitializeClient();
    void EnableAccountProfile();
    void EraseProfile();
    void OnLoginAsTriggered();
    void OnCloseClicked();

    void OnEngineEvent(int code, const EngineEvent& event);
    void OnRegistrationStateChange(const EngineEvent& event);
    void OnSessionStateChange(const EngineEvent& event);
    void OnMediaEvent(const EngineEvent& event);
    void ShowIdleControls();
    void ShowInCallControls();
    void OnCallClockTick();
    void OnRingRepeat();

    // Calls and number entry.
    void OnDialClicked();  // answer a ringing call, or PlaceCall
    void PlaceCall() override;
    void OnEndClicked();  // end or reject
    bool CallActive() const;
    bool CallInState(int sessionState) const;  // the current call, in that state
    void UpdateRecentCalls();
    void PlayKeyTone(const QString& toneName) override;
    void ShowNumbersOnlyError() override;
    void OnDialKeyClicked(int index);  // index into the key table
    void OnClearClicked();         // clear the number
    void OnBackClicked();         // remove its last character

    // Level sliders, tray, settings menu and banner (HandsetWindowDesk.cpp).
    void WireDeskControls();                  // once, from the constructor
    void UseDeskServices(DeskServices desk);  // before Start; the desktop's own otherwise
    void PrepareVolumeSliders();
    void ShowProgramInTray();
    void RemoveTrayIcon();
    void NoSysIcon(bool maxIcon);
    void OnHideClicked();  // hide to the tray, or back
    void OnTrayActivated(TrayActivation reason);
    void OnTuningClicked();  // the audio tuning wizard; tuningAction runs the same
    void OnBannerClicked();   // the banner: the vendor's web site
    // A desktop notification of a ringing call, while the window is away in the tray.
    void NotifyIncomingCall(const QString& from);
    // A caller who gave up before an answer, or was sent away busy: recorded with no duration,
    // announced, and counted in the tray's tip until the user comes back or opens the history.
    void RecordMissedCall(const QString& number);
    void ForgetMissedCalls();
    QString TrayTip() const;

    // State fields.
    QString accountNumber, password, sipAddress, server, displayName, profileXml, saveSetting;
    QString registrationState;
    std::unique_ptr<ISipEngine> engine;
    std::shared_ptr<IProfile> account;
    std::shared_ptr<ISession> session;
    std::shared_ptr<IParticipant> participant;
    qint16 seconds = 0, minutes = 0, hours = 0;

    // Controls.
    QLabel* skinLabel;
    PictureButton *dialButton, *endButton, *recentButton, *phoneBookButton, *tuningButton, *loginButton;
    PictureButton *clearButton, *backButton;
    PictureButton *closeButton, *hideButton;
    // Dial keys in reading order: dialKey1 "1" to dialKeyPound "#".
    std::array<PictureButton*, 12> dialKeys;
    QLabel* bannerLink;
    QLabel* statusLabel;
    QComboBox* numberBox;
    QFrame* levelsPanel;
    QLabel* balanceLabel;
    QLabel *speakerIcon, *micIcon, *signalIcon;
    QTimer callClock, ringRepeat, tmrInprogressRing;
    QMenu* settingsMenu;
    QAction* tuningAction = nullptr;
    std::unique_ptr<MixerLevels> mixerLevels;
    VolumeSliders* volumeSliders = nullptr;  // owned by levelsPanel
    std::unique_ptr<ITray> tray;
    bool inTray = false;

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildControls();
    void WireCallControls();
    void ShowStartError();
    void ShowCallError(const std::exception& error, bool byDescription = false);
    void TerminateActiveCall();
    void Unload();

    // The skin, tooltips and shape of the window (HandsetWindowSkin.cpp).
    void ApplySkin();  // once, from BuildControls
    void RoundWindow();
    void AttachTooltips();
    void ShapeWindow();

    Services services_;
    DeskServices desk_;
    QMenu* trayMenu_ = nullptr;
    NumberKeyFilter* numberFilter_ = nullptr;
    bool ended_ = false;
    bool unanswered_ = false;  // the current call rang and neither Dial nor End has been pressed
    int missedCalls_ = 0;
    bool unloaded_ = false;
};

}  // namespace softphone
