// The main window's desk controls: level sliders, tray, settings menu, tuning wizard, banner.
#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

#include "app/HandsetWindow.h"
#include "dialer/DesktopNotification.h"
#include "dialer/SoundPlayer.h"
#include "support/MessageBox.h"
#include "support/PictureButton.h"
#include "support/Skin.h"

namespace softphone {
namespace {

// Reports a left click (press and release over the control) on a plain picture control.
class ClickFilter : public QObject {
public:
    ClickFilter(QWidget* control, std::function<void()> onClick)
        : QObject(control), onClick_(std::move(onClick)) {
        control->installEventFilter(this);
        control->setCursor(Qt::PointingHandCursor);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonRelease) return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* control = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            control->rect().contains(mouse->position().toPoint()))
            onClick_();
        return false;
    }

private:
    std::function<void()> onClick_;
};

}  // namespace

void HandsetWindow::WireDeskControls() {
    tuningAction = settingsMenu->addAction(tr("&Tuning Wizard"));
    tuningAction->setObjectName(QStringLiteral("tuningAction"));
    connect(tuningAction, &QAction::triggered, this, &HandsetWindow::OnTuningClicked);

    trayMenu_ = new QMenu(this);
    trayMenu_->addActions(settingsMenu->actions());
    trayMenu_->addSeparator();
    QAction* restore = trayMenu_->addAction(tr("Restore"));
    connect(restore, &QAction::triggered, this, [this] { RestoreFromTray(); });

    connect(tuningButton, &PictureButton::clicked, this, &HandsetWindow::OnTuningClicked);
    connect(hideButton, &PictureButton::clicked, this, &HandsetWindow::OnHideClicked);
    new ClickFilter(bannerLink, [this] { OnBannerClicked(); });

    ISoundPlayer& player = services_.player;
    UseDeskServices({CreateAlsaMixer, [](QMenu* menu) { return std::make_unique<QtTray>(menu); },
                     [&player](const QString& path) { player.PlayFileIfIdle(path); },
                     [](const QUrl& url) { QDesktopServices::openUrl(url); },
                     ShowDesktopNotification});
}

void HandsetWindow::UseDeskServices(DeskServices desk) {
    if (tray) tray->RemoveIcon();
    desk_ = std::move(desk);
    tray = desk_.createTray(trayMenu_);
    tray->onActivated = [this](TrayActivation reason) { OnTrayActivated(reason); };
}

void HandsetWindow::PrepareVolumeSliders() {
    delete volumeSliders;
    mixerLevels = std::make_unique<MixerLevels>(desk_.createMixer(), services_.messages, this);
    volumeSliders = new VolumeSliders(levelsPanel, *mixerLevels, desk_.playSoundIfIdle);
}

void HandsetWindow::ShowProgramInTray() {
    inTray = true;
    tray->ShowIcon(QIcon(ArtPixmap(QStringLiteral("tray"))), TrayTip());
}

QString HandsetWindow::TrayTip() const {
    if (missedCalls_ == 0) return tr("Softphone");
    return missedCalls_ == 1 ? tr("Softphone - 1 missed call")
                             : tr("Softphone - %1 missed calls").arg(missedCalls_);
}

void HandsetWindow::AnnounceMissedCall(const QString& number) {
    ++missedCalls_;
    const QString text = tr("Missed call from %1").arg(number);
    if (!desk_.notify(kAppTitle, text) && inTray) tray->ShowMessage(kAppTitle, text);
    if (inTray) ShowProgramInTray();  // the tip counts the calls
}

void HandsetWindow::ForgetMissedCalls() {
    missedCalls_ = 0;
    if (inTray) ShowProgramInTray();
}

void HandsetWindow::RemoveTrayIcon() {
    inTray = false;
    if (tray) tray->RemoveIcon();
}

void HandsetWindow::RestoreFromTray() {
    ForgetMissedCalls();  // the user is back and sees the call history
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    RemoveTrayIcon();
}

void HandsetWindow::HideToTray() {
    // Without a notification area the window only minimises, so it can always come back.
    if (!tray->Available()) {
        showMinimized();
        return;
    }
    ShowProgramInTray();
    hide();
}

void HandsetWindow::OnHideClicked() {
    if (inTray)
        RestoreFromTray();
    else
        HideToTray();
}

void HandsetWindow::OnTrayActivated(TrayActivation reason) {
    const bool restore = reason == TrayActivation::DoubleClick ||
                         (reason == TrayActivation::Click && tray->ReportsOnlyActivation());
    if (restore) RestoreFromTray();
}

void HandsetWindow::OnTuningClicked() { phone_.RunTuningWizard(this); }

void HandsetWindow::OnBannerClicked() { desk_.openUrl(QUrl(QStringLiteral(SOFTPHONE_VENDOR_URL))); }

void HandsetWindow::NotifyIncomingCall(const QString& from) {
    if (!inTray) return;
    tray->ShowMessage(kAppTitle,
                      from.isEmpty() ? tr("Incoming call") : tr("Incoming call from %1").arg(from));
}

}  // namespace softphone
