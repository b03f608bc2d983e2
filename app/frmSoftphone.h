#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "app/SipEngine.h"

class QComboBox;
class QFrame;
class QLabel;
class QMenu;

namespace softphone {

class IMessageBox;
class IModalWindows;
class ISettingsStore;
class HotButtons;
class PictureButton;
class clsTooltip;

// The handset window: owns the account, the engine client, the current call and the controls.
class frmSoftphone : public QWidget {
    Q_OBJECT
public:
    struct Services {
        ISettingsStore& store;
        IMessageBox& messages;
        IModalWindows& windows;
        EngineFactory createEngine;
    };

    explicit frmSoftphone(Services services, QWidget* parent = nullptr);
    ~frmSoftphone() override;

    // Start-up: the window's load handler.
    void FormLoad();
    bool Ended() const { return ended_; }

    void LoadLoginSettings();
    void ExitApplication();
    void InitializeClient();
    void EnableAccountProfile();
    void EraseProfile();
    void mnuLoginAs_Click();
    void Picture40_Click();

    void g_objRTCClientWithEvents_Event(int code, const EngineEvent& event);
    void OnRegistrationStateChange(const EngineEvent& event);
    void ShowIdleControls();
    void ShowInCallControls();

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

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildControls();
    void ShowFormLoadError();
    bool CallActive() const;
    void TerminateActiveCall();
    void Unload();

    // Steps of start-up handed to the mixer and tray parts of the window.
    void PrepareVolumeSliders() {}
    void RemoveTrayIcon() {}

    // The skin, lit buttons, tooltips and shape of the window (frmSoftphoneSkin.cpp).
    void ApplySkin();  // once, from BuildControls
    void RoundWindow();
    void AttachTooltips();
    void ShapeWindow();

    Services services_;
    bool ended_ = false;
    bool unloaded_ = false;
};

}  // namespace softphone
