// A desktop notification reaches the notification service on a private session bus.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include "dialer/DesktopNotification.h"
#include "tests/support/Child.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

// Stands in for the desktop's notification server; each call it gets, as
// "method(argument types) app | summary | body".
struct NotificationServer : QDBusVirtualObject {
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& call, const QDBusConnection&) override {
        const QVariantList a = call.arguments();
        shown << QString("%1.%2(%3) %4 | %5 | %6")
                     .arg(call.interface(), call.member(), call.signature(), a.value(0).toString(),
                          a.value(3).toString(), a.value(4).toString());
        return true;
    }
    QStringList shown;
};

// A missed call is shown by the desktop's notification service, with the program's name.
TEST(NotificationBus, MissedCallReachesTheNotificationService) {
    Child bus("dbus-daemon", {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(bus.waitForReadyRead(5000)) << "no bus";
    const QString address = QString::fromUtf8(bus.readLine()).trimmed();
    // The program's own connection is made on first use, from this variable.
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    QDBusConnection service = QDBusConnection::connectToBus(address, "notifications");
    NotificationServer server;
    ASSERT_TRUE(service.registerVirtualObject("/org/freedesktop/Notifications", &server));
    ASSERT_TRUE(service.registerService("org.freedesktop.Notifications"));

    ASSERT_TRUE(showDesktopNotification("Softphone", "Missed call from 5557002"));
    waitUntil([&] { return !server.shown.isEmpty(); });
    EXPECT_EQ(server.shown.join('\n').toStdString(),
              "org.freedesktop.Notifications.Notify(susssasa{sv}i) Softphone | Softphone | "
              "Missed call from 5557002");
}

}  // namespace
}  // namespace softphone::test
