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

void HandsetWindow::wireDeskControls() {
    tuningAction = settingsMenu->addAction(tr("&Tuning Wizard"));
    tuningAction->setObjectName(QStringLiteral("tuningAction"));
    connect(tuningAction, &QAction::triggered, this, &HandsetWindow::onTuningClicked);

    trayMenu_ = new QMenu(this);
    trayMenu_->addActions(settingsMenu->actions());
    trayMenu_->addSeparator();
    QAction* restore = trayMenu_->addAction(tr("Restore"));
    connect(restore, &QAction::triggered, this, [this] { restoreFromTray(); });

    connect(tuningButton, &PictureButton::clicked, this, &HandsetWindow::onTuningClicked);
    connect(hideButton, &PictureButton::clicked, this, &HandsetWindow::onHideClicked);
    new ClickFilter(bannerLink, [this] { onBannerClicked(); });

    ISoundPlayer& player = services_.player;
    useDeskServices({createAlsaMixer, [](QMenu* menu) { return std::make_unique<QtTray>(menu); },
                     [&player](const QString& path) { player.playFileIfIdle(path); },
                     [](const QUrl& url) { QDesktopServices::openUrl(url); },
                     showDesktopNotification});
}

void HandsetWindow::useDeskServices(DeskServices desk) {
    if (tray) tray->removeIcon();
    desk_ = std::move(desk);
    tray = desk_.createTray(trayMenu_);
    tray->onActivated = [this](TrayActivation reason) { onTrayActivated(reason); };
}

void HandsetWindow::prepareVolumeSliders() {
    delete volumeSliders;
    mixerLevels = std::make_unique<MixerLevels>(desk_.createMixer(), services_.messages, this);
    volumeSliders = new VolumeSliders(levelsPanel, *mixerLevels, desk_.playSoundIfIdle);
}

void HandsetWindow::showProgramInTray() {
    inTray = true;
    tray->showIcon(QIcon(artPixmap(QStringLiteral("tray"))), trayTip());
}

QString HandsetWindow::trayTip() const {
    if (missedCalls_ == 0) return tr("Softphone");
    return missedCalls_ == 1 ? tr("Softphone - 1 missed call")
                             : tr("Softphone - %1 missed calls").arg(missedCalls_);
}

void HandsetWindow::announceMissedCall(const QString& number) {
    ++missedCalls_;
    const QString text = tr("Missed call from %1").arg(number);
    if (!desk_.notify(kAppTitle, text) && inTray) tray->showMessage(kAppTitle, text);
    if (inTray) showProgramInTray();  // the tip counts the calls
}

void HandsetWindow::forgetMissedCalls() {
    missedCalls_ = 0;
    if (inTray) showProgramInTray();
}

void HandsetWindow::removeTrayIcon() {
    inTray = false;
    if (tray) tray->removeIcon();
}

void HandsetWindow::restoreFromTray() {
    forgetMissedCalls();  // the user is back and sees the call history
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    removeTrayIcon();
}

void HandsetWindow::hideToTray() {
    // Without a notification area the window only minimises, so it can always come back.
    if (!tray->available()) {
        showMinimized();
        return;
    }
    showProgramInTray();
    hide();
}

void HandsetWindow::onHideClicked() {
    if (inTray)
        restoreFromTray();
    else
        hideToTray();
}

void HandsetWindow::onTrayActivated(TrayActivation reason) {
    const bool restore = reason == TrayActivation::DoubleClick ||
                         (reason == TrayActivation::Click && tray->reportsOnlyActivation());
    if (restore) restoreFromTray();
}

void HandsetWindow::onTuningClicked() { phone_.runTuningWizard(this); }

void HandsetWindow::onBannerClicked() { desk_.openUrl(QUrl(QStringLiteral(SOFTPHONE_VENDOR_URL))); }

void HandsetWindow::notifyIncomingCall(const QString& from) {
    if (!inTray) return;
    tray->showMessage(kAppTitle,
                      from.isEmpty() ? tr("Incoming call") : tr("Incoming call from %1").arg(from));
}

}  // namespace softphone
