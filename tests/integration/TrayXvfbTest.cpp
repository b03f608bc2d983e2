#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>

#include <QProcess>
#include <QRegularExpression>

#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

void DieWithParent() {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
}

// A child process on the private X server; stopped by its PID when the test ends.
struct Child : QProcess {
    Child(const QProcessEnvironment& env, const QString& program, const QStringList& args) {
        setProcessEnvironment(env);
        setChildProcessModifier(DieWithParent);
        start(program, args);
    }
    ~Child() override {
        terminate();
        if (!waitForFinished(3000)) kill();
        waitForFinished(3000);
    }
};

// Lines a child has printed so far, read without blocking.
QStringList Lines(QProcess& child, QStringList& seen) {
    while (child.canReadLine()) seen << QString::fromUtf8(child.readLine()).trimmed();
    return seen;
}

class TrayXvfbTest : public ::testing::Test {
protected:
    void SetUp() override {
        xvfb.setChildProcessModifier(DieWithParent);
        xvfb.start("Xvfb", {"-displayfd", "1", "-noreset", "-nolisten", "tcp", "-screen", "0",
                            "640x480x24"});
        ASSERT_TRUE(WaitUntil([&] { return xvfb.canReadLine(); }, 10000));
        env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", ":" + QString::fromUtf8(xvfb.readLine()).trimmed());
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.remove("DBUS_SESSION_BUS_ADDRESS");
    }
    void TearDown() override {
        xvfb.terminate();
        xvfb.waitForFinished(3000);
    }

    QString Xdotool(const QStringList& args) {
        QProcess x;
        x.setProcessEnvironment(env);
        x.start("xdotool", args);
        x.waitForFinished(5000);
        return QString::fromUtf8(x.readAllStandardOutput()).trimmed();
    }

    QProcess xvfb;
    QProcessEnvironment env;
};

TEST_F(TrayXvfbTest, HideToTheTrayAndDoubleClickTheIconToRestore) {
    Child trayer(env, "trayer",
                 {"--edge", "bottom", "--align", "right", "--widthtype", "request", "--height",
                  "32", "--SetDockType", "false"});
    ASSERT_TRUE(WaitUntil(
        [&] {
            return !Xdotool({"search", "--class", "trayer"}).isEmpty();
        },
        10000));

    Child phone(env, TRAY_HELPER, {});
    QStringList lines;
    ASSERT_TRUE(WaitUntil([&] { return !Lines(phone, lines).isEmpty(); }, 15000))
        << phone.readAllStandardError().toStdString();
    const auto hide = QRegularExpression(R"(hide (\d+) (\d+))").match(lines[0]);
    ASSERT_TRUE(hide.hasMatch()) << lines[0].toStdString();

    Xdotool({"mousemove", hide.captured(1), hide.captured(2), "click", "1"});
    ASSERT_TRUE(WaitUntil([&] { return Lines(phone, lines).contains("hidden"); }, 5000));

    // The icon is the tray's one client: double-click the middle of the panel holding it,
    // which grows from a sliver to the icon's width when the icon docks.
    QRegularExpressionMatch geometry;
    const QRegularExpression place(R"(Position: (\d+),(\d+).*Geometry: (\d+)x(\d+))",
                                   QRegularExpression::DotMatchesEverythingOption);
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (const QString& window : Xdotool({"search", "--class", "trayer"}).split('\n')) {
                geometry = place.match(Xdotool({"getwindowgeometry", window}));
                if (geometry.hasMatch() && geometry.captured(3).toInt() >= 16) return true;
            }
            return false;
        },
        5000));
    const int x = geometry.captured(1).toInt() + geometry.captured(3).toInt() / 2;
    const int y = geometry.captured(2).toInt() + geometry.captured(4).toInt() / 2;
    Xdotool({"mousemove", QString::number(x), QString::number(y), "click", "1"});
    Pump(700);
    EXPECT_FALSE(Lines(phone, lines).contains("shown")) << "a single click restored";
    Xdotool({"click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_TRUE(WaitUntil([&] { return Lines(phone, lines).contains("shown"); }, 5000))
        << lines.join(" | ").toStdString();
}

}  // namespace
}  // namespace softphone::test
