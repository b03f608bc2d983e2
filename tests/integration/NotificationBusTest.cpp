// The desktop's services as the program meets them: the real tray (trayer) on a private X
// display, and the notification service on a private session bus.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "dialer/DesktopNotification.h"
#include "tests/support/Wait.h"
#include "tests/support/XvfbDisplay.h"

namespace softphone::test {
namespace {

TEST(Desktop, HideToTheTrayAndDoubleClickTheIconToRestore) {
    XvfbDisplay display;
    ASSERT_TRUE(display.Started() && display.StartTray());
    Child phone(TRAY_HELPER, {}, display.Environment());
    QStringList lines;  // what the helper has printed so far
    auto read = [&] {
        while (phone.canReadLine()) lines << QString::fromUtf8(phone.readLine()).trimmed();
        return lines;
    };
    ASSERT_TRUE(WaitUntil([&] { return !read().isEmpty(); }, 15000));
    const auto hide = QRegularExpression(R"(hide (\d+) (\d+))").match(lines[0]);
    ASSERT_TRUE(hide.hasMatch()) << lines[0].toStdString();
    display.Xdo({"mousemove", hide.captured(1), hide.captured(2), "click", "1"});
    ASSERT_TRUE(WaitUntil([&] { return read().contains("hidden"); }));

    // The icon is the tray's one client: double-click the middle of the panel holding it,
    // which grows from a sliver to the icon's width when the icon docks.
    QRegularExpressionMatch panel;
    const QRegularExpression place(R"(Position: (\d+),(\d+).*Geometry: (\d+)x(\d+))",
                                   QRegularExpression::DotMatchesEverythingOption);
    ASSERT_TRUE(WaitUntil([&] {
        for (const QString& window : display.Xdo({"search", "--class", "trayer"}).split('\n')) {
            panel = place.match(display.Xdo({"getwindowgeometry", window}));
            if (panel.hasMatch() && panel.captured(3).toInt() >= 16) return true;
        }
        return false;
    }));
    const int x = panel.captured(1).toInt() + panel.captured(3).toInt() / 2;
    const int y = panel.captured(2).toInt() + panel.captured(4).toInt() / 2;
    display.Xdo({"mousemove", QString::number(x), QString::number(y), "click", "1"});
    EXPECT_FALSE(WaitUntil([&] { return read().contains("shown"); }, 700))
        << "a single click restored";
    display.Xdo({"click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_TRUE(WaitUntil([&] { return read().contains("shown"); }))
        << lines.join(" | ").toStdString();
}

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

TEST(Desktop, MissedCallReachesTheNotificationService) {
    QTemporaryDir dir;
    const QString address = "unix:path=" + dir.filePath("bus");
    Child bus("dbus-daemon", {"--session", "--nofork", "--address=" + address});
    // The program's own connection is made on first use, from this variable.
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(dir.filePath("bus")); })) << "no bus";
    QDBusConnection service = QDBusConnection::connectToBus(address, "notifications");
    ASSERT_TRUE(service.isConnected());
    NotificationServer server;
    ASSERT_TRUE(service.registerObject("/org/freedesktop/Notifications", &server,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService("org.freedesktop.Notifications"));

    ASSERT_TRUE(ShowDesktopNotification("Softphone", "Missed call from 5557002"));
    EXPECT_TRUE(WaitUntil([&] { return !server.shown.isEmpty(); }));
    EXPECT_EQ(server.shown, QStringList{"Softphone | Softphone | Missed call from 5557002"});

    QDBusConnection::disconnectFromBus("notifications");
}

}  // namespace
}  // namespace softphone::test

#include "DesktopTest.moc"
