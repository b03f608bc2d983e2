#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "app/PhoneController.h"
#include "dialer/DeskServices.h"
#include "dialer/NumberKeyFilter.h"

class QComboBox;
class QFrame;
class QLabel;
class QMenu;

namespace softphone {

class IMessageBox;
class IModalWindows;
class ISoundPlayer;
class PictureButton;

// The handset: the view of the phone's controller, with the skin, the dial pad, the level
// sliders, the tray and the dialogs around it.
class HandsetWindow : public QWidget, public INumberEntry {
    Q_OBJECT
public:
    struct Services {
        IMessageBox& messages;
        IModalWindows& windows;
        ISoundPlayer& player;
    };

    HandsetWindow(PhoneController& phone, Services services, QWidget* parent = nullptr);
    ~HandsetWindow() override;

    // Start-up: the login dialog, then the phone; leaving the dialog without LOGIN ends it.
    void start();
    bool ended() const { return ended_; }

    void exitApplication();
    void onLoginAsTriggered();
    void onNetworkTriggered();
    void onLoginClicked();
    void onCloseClicked();

    // Calls and number entry.
    void onDialClicked();  // answer a ringing call, or place one
    void placeCall() override;
    void onEndClicked();  // end or reject
    void playKeyTone(const QString& toneName) override;
    void showNumbersOnlyError() override;
    void onDialKeyClicked(int index);  // index into the key table
    void onClearClicked();             // clear the number
    void onBackClicked();              // remove its last character
    void showControls(PhoneController::Controls controls);

    // Level sliders, tray, settings menu and banner (HandsetWindowDesk.cpp).
    void wireDeskControls();                  // once, from the constructor
    void useDeskServices(DeskServices desk);  // before Start; the desktop's own otherwise
    void prepareVolumeSliders();
    void showProgramInTray();
    void removeTrayIcon();
    void restoreFromTray();
    void hideToTray();
    void onHideClicked();  // hide to the tray, or back
    void onTrayActivated(TrayActivation reason);
    void onTuningClicked();  // the audio tuning wizard; tuningAction runs the same
    void onBannerClicked();  // the banner: the vendor's web site
    // A desktop notification of a ringing call, while the window is away in the tray.
    void notifyIncomingCall(const QString& from);
    // A missed call is announced and counted in the tray's tip until the user comes back or
    // opens the call history.
    void announceMissedCall(const QString& number);
    void forgetMissedCalls();
    QString trayTip() const;

    // Controls.
    QLabel* skinLabel;
    PictureButton *dialButton, *endButton, *recentButton, *phoneBookButton, *tuningButton,
        *loginButton;
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
    void buildControls();
    void wireCallControls();

    // The skin, tooltips and shape of the window (HandsetWindowSkin.cpp).
    void applySkin();  // once, from BuildControls
    void attachTooltips();
    void shapeWindow();

    PhoneController& phone_;
    Services services_;
    DeskServices desk_;
    QMenu* trayMenu_ = nullptr;
    NumberKeyFilter* numberFilter_ = nullptr;
    bool ended_ = false;
    int missedCalls_ = 0;
};

}  // namespace softphone
