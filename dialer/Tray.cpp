#include "dialer/Tray.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QSystemTrayIcon>

#include "dialer/DesktopNotification.h"

namespace softphone {
namespace {

TrayActivation fromQt(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger: return TrayActivation::Click;
        case QSystemTrayIcon::DoubleClick: return TrayActivation::DoubleClick;
        case QSystemTrayIcon::MiddleClick: return TrayActivation::MiddleClick;
        default: return TrayActivation::Other;
    }
}

// Qt uses a StatusNotifier item when a StatusNotifier host is registered on the session bus,
// and an XEmbed icon otherwise.
bool statusNotifierHostRegistered() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcher)) return false;
    QDBusInterface iface(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
    return iface.property("IsStatusNotifierHostRegistered").toBool();
}

}  // namespace

QtTray::QtTray() : icon_(std::make_unique<QSystemTrayIcon>()) {
    connect(icon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { emit activated(fromQt(reason)); });
}

QtTray::~QtTray() { icon_->hide(); }

bool QtTray::available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool QtTray::reportsOnlyActivation() const { return statusNotifierHostRegistered(); }

void QtTray::setMenu(QMenu* menu) { icon_->setContextMenu(menu); }

void QtTray::showIcon(const QIcon& icon, const QString& tip) {
    icon_->setIcon(icon);
    icon_->setToolTip(tip);
    icon_->show();
}

void QtTray::removeIcon() { icon_->hide(); }

void QtTray::showMessage(const QString& title, const QString& text) {
    icon_->showMessage(title, text, QSystemTrayIcon::Information);
}

bool QtTray::notify(const QString& summary, const QString& body) {
    return showDesktopNotification(summary, body);
}

}  // namespace softphone
