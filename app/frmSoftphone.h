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
class HotButtons;
class PictureButton;
class clsTooltip;

// The handset window: owns the account, the engine client, the current call and the controls.
class frmSoftphone : public QWidget, public INumberEntry {
    Q_OBJECT
public:
    struct Services {
        ISettingsStore& store;
        IMessageBox& messages;
        IModalWindows& windows;
        ISoundPlayer& player;
        EngineFactory createEngine;
    };

    explicit frmSoftphone(Services services, QWidget* parent = nullptr);
    ~frmSoftphone() override;

    // Start-up: the window's load handler.
    void FormLoad();
    bool Ended() const { return ended_; }

    // False when the login dialog was left without logging in.
    bool LoadLoginSettings();
    void ExitApplication();
    void InitializeClient();
    void EnableAccountProfile();
    void EraseProfile();
    void mnuLoginAs_Click();
    void Picture40_Click();

    void g_objRTCClientWithEvents_Event(int code, const EngineEvent& event);
    void OnRegistrationStateChange(const EngineEvent& event);
    void OnSessionStateChange(const EngineEvent& event);
    void OnMediaEvent(const EngineEvent& event);
    void ShowIdleControls();
    void ShowInCallControls();
    void tmrConnected_Timer();
    void tmrIncomingRing_Timer();

    // Calls and number entry.
    void Picture6_Click();  // answer a ringing call, or PlaceCall
    void PlaceCall() override;
    void Picture8_Click();  // end or reject
    bool CallActive() const;
    bool CallInState(int sessionState) const;  // the current call, in that state
    void UpdateRecentCalls();
    void PlayKeyTone(const QString& toneName) override;
    void ShowNumbersOnlyError() override;
    void DialKey_Click(int index);  // index into the key table
    void Picture16_Click();         // clear the number
    void Picture17_Click();         // remove its last character

    // Level sliders, tray, settings menu and banner (frmSoftphoneDesk.cpp).
    void WireDeskControls();                  // once, from the constructor
    void UseDeskServices(DeskServices desk);  // before FormLoad; the desktop's own otherwise
    void PrepareVolumeSliders();
    void ShowProgramInTray();
    void RemoveTrayIcon();
    void NoSysIcon(bool maxIcon);
    void Picture41_Click();  // hide to the tray, or back
    void TrayIcon_Activated(TrayActivation reason);
    void Picture13_Click();  // the audio tuning wizard; mnuVOICE runs the same
    void Picture4_Click();   // the banner: the vendor's web site
    // A desktop notification of a ringing call, while the window is away in the tray.
    void NotifyIncomingCall(const QString& from);
    // A caller who gave up before an answer, or was sent away busy: recorded with no duration,
    // announced, and counted in the tray's tip until the user comes back or opens the history.
    void RecordMissedCall(const QString& number);
    void ForgetMissedCalls();
    QString TrayTip() const;

    // State fields.
    QString strAccount, strPassword, strSip, strServer, strDisplayName, strProfileXML, strSave;
    QString strRegState;
    std::unique_ptr<ISipEngine> objClient;
    std::shared_ptr<IProfile> objProfile;
    std::shared_ptr<ISession> objSession;
    std::shared_ptr<IParticipant> objParticipant;
    qint16 intSeconds = 0, intMinutes = 0, intHours = 0;

    // Controls.
    QLabel* Picture1;
    PictureButton *Picture6, *Picture8, *Picture3, *Picture11, *Picture13, *Picture2;
    PictureButton *Picture16, *Picture17;
    PictureButton *Picture40, *Picture41;
    // Dial keys in reading order: Picture20 "1" to Picture37 "#".
    std::array<PictureButton*, 12> DialKeys;
    QLabel* Picture4;
    QLabel* lblMsg;
    QComboBox* cmbPhoneNo;
    QFrame* Frame1;
    QLabel* lblBalance;
    QLabel *Image1, *Image2, *Image3;
    QTimer tmrConnected, tmrIncomingRing, tmrInprogressRing;
    QMenu* mnuSettings;
    clsTooltip* objTooltip = nullptr;  // owned by the window
    HotButtons* hotButtons = nullptr;  // the twenty lit buttons; owned by the window
    QAction* mnuVOICE = nullptr;
    std::unique_ptr<clsVolume> objVolume;
    VolumeSliders* volumeSliders = nullptr;  // owned by Frame1
    std::unique_ptr<ITray> objTray;
    bool blnInTray = false;

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildControls();
    void WireCallControls();
    void ShowFormLoadError();
    void ShowCallError(const std::exception& error, bool byDescription = false);
    void TerminateActiveCall();
    void Unload();

    // The skin, lit buttons, tooltips and shape of the window (frmSoftphoneSkin.cpp).
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
