// The main window's desk controls: level sliders, tray, settings menu, tuning wizard, banner.
#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

#include "app/frmSoftphone.h"
#include "dialer/DesktopNotification.h"
#include "dialer/SoundPlayer.h"
#include "records/RecentCalls.h"
#include "support/MessageBox.h"
#include "support/PictureButton.h"
#include "support/Skin.h"

namespace softphone {
namespace {

const QString kTrayTip = QStringLiteral("Softphone");

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

void frmSoftphone::WireDeskControls() {
    mnuVOICE = mnuSettings->addAction(QStringLiteral("&Tuning Wizard"));
    mnuVOICE->setObjectName(QStringLiteral("mnuVOICE"));
    connect(mnuVOICE, &QAction::triggered, this, &frmSoftphone::Picture13_Click);

    trayMenu_ = new QMenu(this);
    trayMenu_->addActions(mnuSettings->actions());
    trayMenu_->addSeparator();
    QAction* restore = trayMenu_->addAction(QStringLiteral("Restore"));
    connect(restore, &QAction::triggered, this, [this] { NoSysIcon(true); });

    connect(Picture13, &PictureButton::clicked, this, &frmSoftphone::Picture13_Click);
    connect(Picture41, &PictureButton::clicked, this, &frmSoftphone::Picture41_Click);
    new ClickFilter(Picture4, [this] { Picture4_Click(); });

    ISoundPlayer& player = services_.player;
    UseDeskServices({CreateAlsaMixer, [](QMenu* menu) { return std::make_unique<QtTray>(menu); },
                     [&player](const QString& path) { player.PlayFileIfIdle(path); },
                     [](const QUrl& url) { QDesktopServices::openUrl(url); },
                     ShowDesktopNotification});
}

void frmSoftphone::UseDeskServices(DeskServices desk) {
    if (objTray) objTray->RemoveIcon();
    desk_ = std::move(desk);
    objTray = desk_.createTray(trayMenu_);
    objTray->onActivated = [this](TrayActivation reason) { TrayIcon_Activated(reason); };
}

void frmSoftphone::PrepareVolumeSliders() {
    delete volumeSliders;
    objVolume = std::make_unique<clsVolume>(desk_.createMixer(), services_.messages, this);
    volumeSliders = new VolumeSliders(Frame1, *objVolume, desk_.playSoundIfIdle);
}

void frmSoftphone::ShowProgramInTray() {
    blnInTray = true;
    objTray->ShowIcon(QIcon(ArtPixmap(QStringLiteral("tray"))), TrayTip());
}

QString frmSoftphone::TrayTip() const {
    if (missedCalls_ == 0) return kTrayTip;
    return missedCalls_ == 1 ? tr("Softphone - 1 missed call")
                             : tr("Softphone - %1 missed calls").arg(missedCalls_);
}

void frmSoftphone::RecordMissedCall(const QString& number) {
    softphone::UpdateRecentCalls(number, 0, 0, 0);
    ++missedCalls_;
    const QString text = tr("Missed call from %1").arg(number);
    if (!desk_.notify(kAppTitle, text) && blnInTray) objTray->ShowMessage(kAppTitle, text);
    if (blnInTray) ShowProgramInTray();  // the tip counts the calls
}

void frmSoftphone::ForgetMissedCalls() {
    missedCalls_ = 0;
    if (blnInTray) ShowProgramInTray();
}

void frmSoftphone::RemoveTrayIcon() {
    blnInTray = false;
    if (objTray) objTray->RemoveIcon();
}

void frmSoftphone::NoSysIcon(bool maxIcon) {
    if (maxIcon) {
        ForgetMissedCalls();  // the user is back and sees the call history
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        raise();
        activateWindow();
        RemoveTrayIcon();
        return;
    }
    // Without a notification area the window only minimises, so it can always come back.
    if (!objTray->Available()) {
        showMinimized();
        return;
    }
    ShowProgramInTray();
    hide();
}

void frmSoftphone::Picture41_Click() {
    NoSysIcon(blnInTray);
}

void frmSoftphone::TrayIcon_Activated(TrayActivation reason) {
    const bool restore = reason == TrayActivation::DoubleClick ||
                         (reason == TrayActivation::Click && objTray->ReportsOnlyActivation());
    if (restore) NoSysIcon(true);
}

void frmSoftphone::Picture13_Click() {
    try {
        if (!objClient) throw EngineError(kErrorNoWizard, QStringLiteral("No SIP engine"));
        objClient->InvokeTuningWizard(this);
    } catch (const std::exception&) {
        services_.messages.Show(this, QStringLiteral("Error"));
    }
}

void frmSoftphone::Picture4_Click() {
    desk_.openUrl(QUrl(QStringLiteral(SOFTPHONE_VENDOR_URL)));
}

void frmSoftphone::NotifyIncomingCall(const QString& from) {
    if (!blnInTray) return;
    objTray->ShowMessage(kAppTitle, from.isEmpty() ? QStringLiteral("Incoming call")
                                                   : QStringLiteral("Incoming call from ") + from);
}

}  // namespace softphone
