#pragma once

#include <QWidget>
#include <memory>

#include "app/PhoneController.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;

namespace softphone {

class IMessageBox;
class IMixer;
class IModalWindows;
class ISettingsStore;
class ISoundPlayer;
class ITray;
class MixerLevels;
class PictureButton;
class Ringer;
class TrayPresence;
class VolumeSliders;

// The handset: the skinned view of the phone, with the dial pad, the level sliders, the tray
// and the dialogs around it. It shows the phone's state in the system's own words and hands the
// phone the user's actions.
class HandsetWindow : public QWidget {
    Q_OBJECT
public:
    struct Services {
        IMessageBox& messages;
        IModalWindows& windows;
        ISettingsStore& store;  // the saved login and network settings
        ISoundPlayer& speaker;  // the release sound of the level slider
        ISoundPlayer& ringer;   // the phone ring
        std::unique_ptr<IMixer> mixer;
        std::unique_ptr<ITray> tray;
    };

    HandsetWindow(PhoneController& phone, Services services, QWidget* parent = nullptr);
    ~HandsetWindow() override;

    // Start-up: the login dialog, then the phone; leaving the dialog without LOGIN ends it.
    void start();
    bool ended() const { return ended_; }
    // Another start of the program wakes this one, also out of the tray.
    void restoreFromTray();
    // A number as people write it, from a link or the clipboard, goes into the number field
    // cleaned; one with letters shows the numbers-only box and changes nothing. It never dials.
    void showWrittenNumber(const QString& written);

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct ButtonRow;
    static const ButtonRow kButtons[];

    void buildControls();
    void buildMenus();
    void applySkin();
    void wirePhone();
    PictureButton* button(const char* name) const;
    QString number() const;
    void setNumber(const QString& number);
    void showControls(PhoneController::Controls controls);
    void showRegistration(RegistrationState state);
    static QString unregisteredReason(RegistrationState state);
    void showCallState(SessionState state);
    void showFailure(const PhoneFailure& failure);
    void showCallFeatures();
    void showLine(const LineStats& line);
    AccountSettings savedAccount() const;

    void onDialClicked();
    void onEndClicked();
    void onDialKeyClicked(char key);
    void onClearClicked();
    void onBackClicked();
    void onRecentClicked();
    void onPhoneBookClicked();
    void onTuningClicked();
    void onLoginClicked();
    void onLoginAsTriggered();
    void onNetworkTriggered();
    void onHideClicked();
    void onCloseClicked();
    void onBannerClicked();
    void onKeyTyped(QChar key);
    void onEntered();
    void exitApplication();

    PhoneController& phone_;
    Services services_;
    QLabel* statusLabel_ = nullptr;
    QLabel* balanceLabel_ = nullptr;
    QComboBox* numberBox_ = nullptr;
    QFrame* levelsPanel_ = nullptr;
    QMenu* settingsMenu_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    QAction* muteAction_ = nullptr;
    QAction* holdAction_ = nullptr;
    TrayPresence* tray_ = nullptr;
    Ringer* ringer_ = nullptr;
    std::unique_ptr<MixerLevels> mixerLevels_;
    VolumeSliders* volumeSliders_ = nullptr;  // owned by levelsPanel_
    bool ended_ = false;
};

}  // namespace softphone
