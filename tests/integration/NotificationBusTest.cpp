// A desktop notification reaches the notification service on a private session bus.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QFile>
#include <QTemporaryDir>

#include "dialer/DesktopNotification.h"
#include "tests/support/Child.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

// Stands in for the desktop's notification server.
class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public slots:
    uint Notify(const QString& app, uint, const QString&, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap&, int) {
        shown << app + " | " + summary + " | " + body;
        return uint(shown.size());
    }

public:
    QStringList shown;
};

// A missed call is shown by the desktop's notification service, with the program's name.
TEST(NotificationBus, MissedCallReachesTheNotificationService) {
    QTemporaryDir dir;
    const QString address = "unix:path=" + dir.filePath("bus");
    Child bus("dbus-daemon", {"--session", "--nofork", "--address=" + address});
    // The program's own connection is made on first use, from this variable.
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(dir.filePath("bus")); })) << "no bus";
    QDBusConnection service = QDBusConnection::connectToBus(address, "notifications");
    NotificationServer server;
    ASSERT_TRUE(service.registerObject("/org/freedesktop/Notifications", &server,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService("org.freedesktop.Notifications"));

    ASSERT_TRUE(showDesktopNotification("Softphone", "Missed call from 5557002"));
    EXPECT_TRUE(waitUntil([&] {
        return server.shown == QStringList{"Softphone | Softphone | Missed call from 5557002"};
    })) << server.shown.join('\n').toStdString();

    QDBusConnection::disconnectFromBus("notifications");
}

}  // namespace
}  // namespace softphone::test

#include "NotificationBusTest.moc"
