#include "dialer/TrayPresence.h"

#include <QWidget>

#include "support/MessageBox.h"
#include "support/Skin.h"

namespace softphone {

TrayPresence::TrayPresence(QWidget* window, std::unique_ptr<ITray> tray, QMenu* menu)
    : QObject(window), window_(window), tray_(std::move(tray)) {
    tray_->setMenu(menu);
    connect(tray_.get(), &ITray::activated, this, &TrayPresence::onActivated);
}

void TrayPresence::showIcon() {
    const QString tip = missedCalls_ == 0   ? tr("Softphone")
                        : missedCalls_ == 1 ? tr("Softphone - 1 missed call")
                                            : tr("Softphone - %1 missed calls").arg(missedCalls_);
    const QPixmap picture = artPixmap(QStringLiteral("tray"));
    if (registered_) {
        tray_->showIcon(QIcon(picture), tip);
        return;
    }
    const QString why = unregisteredReason_.isEmpty()
                            ? tr(" - not registered")
                            : tr(" - not registered: %1").arg(unregisteredReason_);
    tray_->showIcon(QIcon(QIcon(picture).pixmap(picture.size(), QIcon::Disabled)), tip + why);
}

void TrayPresence::showRegistration(bool registered, const QString& reason) {
    registered_ = registered;
    unregisteredReason_ = reason;
    if (inTray_) showIcon();
}

void TrayPresence::hide() {
    if (!tray_->available()) {
        window_->showMinimized();
        return;
    }
    inTray_ = true;
    showIcon();
    window_->hide();
}

void TrayPresence::restore() {
    forgetMissedCalls();
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->show();
    window_->raise();
    window_->activateWindow();
    remove();
}

void TrayPresence::toggle() {
    if (inTray_)
        restore();
    else
        hide();
}

void TrayPresence::remove() {
    inTray_ = false;
    tray_->removeIcon();
}

void TrayPresence::onActivated(TrayActivation reason) {
    if (reason == TrayActivation::DoubleClick ||
        (reason == TrayActivation::Click && tray_->reportsOnlyActivation()))
        restore();
}

void TrayPresence::announceIncomingCall(const QString& from) {
    if (!inTray_) return;
    tray_->showMessage(
        kAppTitle, from.isEmpty() ? tr("Incoming call") : tr("Incoming call from %1").arg(from));
}

void TrayPresence::announceMissedCall(const QString& number) {
    ++missedCalls_;
    const QString text = tr("Missed call from %1").arg(number);
    if (!tray_->notify(kAppTitle, text) && inTray_) tray_->showMessage(kAppTitle, text);
    if (inTray_) showIcon();  // the tip counts the calls
}

void TrayPresence::forgetMissedCalls() {
    missedCalls_ = 0;
    if (inTray_) showIcon();
}

}  // namespace softphone
