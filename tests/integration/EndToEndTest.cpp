// The real program on a private X display, driven with the mouse and keyboard as a person
// would: log in, call a far end, hang up, close.
#include <gtest/gtest.h>

#include <QFile>
#include <QPoint>
#include <QTemporaryDir>

#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"
#include "tests/support/XvfbDisplay.h"

namespace softphone::test {
namespace {

// Centres of the controls, in pixels from the window's corner.
constexpr QPoint kSipBox{148, 41}, kAccountBox{148, 65}, kPasswordBox{148, 89}, kLogin{66, 154};
constexpr QPoint kNumberField{132, 90}, kDial{43, 258}, kEnd{252, 257}, kClose{262, 15};

TEST(EndToEnd, LogInCallHangUpAndClose) {
    XvfbDisplay display;
    ASSERT_TRUE(display.Started());
    RtpListener rtp;
    Sipp farEnd;
    ASSERT_TRUE(farEnd.Answer({"-key", "rtpport", QString::number(rtp.Port())}));
    SipServer server({{"1001", "secret"}}, {{"15550001111", farEnd.Uri()}});
    ASSERT_TRUE(server.Start());

    QTemporaryDir home;
    QProcessEnvironment env = display.Environment();
    for (const char* folder : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        env.insert(folder, home.filePath(folder));
    QProcess phone;
    phone.setProcessEnvironment(env);
    phone.start(QStringLiteral(SOFTPHONE_BINARY));
    ASSERT_TRUE(phone.waitForStarted(5000));

    // A machine without a sound card first says so in a small box: the person presses Return.
    QString login;
    ASSERT_TRUE(WaitUntil([&] {
        if (QString box = display.Window("Softphone", 1, 280); !box.isEmpty())
            display.Xdo({"windowfocus", "--sync", box, "key", "Return"});
        login = display.Window("Please Enter Your Pin");
        return !login.isEmpty();
    }, 15000));
    display.ClickAndType(login, kSipBox.x(), kSipBox.y(), server.Address());
    display.ClickAndType(login, kAccountBox.x(), kAccountBox.y(), "1001");
    display.ClickAndType(login, kPasswordBox.x(), kPasswordBox.y(), "secret");
    display.Click(login, kLogin.x(), kLogin.y());

    QString handset;
    ASSERT_TRUE(WaitUntil([&] { return !(handset = display.Window("Softphone", 281)).isEmpty(); }, 10000));
    ASSERT_TRUE(WaitUntil([&] { return server.Contacts("1001") == 1; }, 10000));
    display.ClickAndType(handset, kNumberField.x(), kNumberField.y(), "15550001111");
    display.Click(handset, kDial.x(), kDial.y());
    ASSERT_TRUE(WaitUntil([&] { return rtp.AudioPackets() > 10; }, 15000)) << "never answered";

    display.Click(handset, kEnd.x(), kEnd.y());
    EXPECT_TRUE(farEnd.Finished()) << "no BYE: " << farEnd.Trace().toStdString();
    QFile history(home.filePath("XDG_DATA_HOME") + "/Softphone/recentcall.txt");
    ASSERT_TRUE(WaitUntil([&] { return history.exists(); }));
    ASSERT_TRUE(history.open(QIODevice::ReadOnly));
    EXPECT_TRUE(history.readLine().startsWith("15550001111--Duration: 0:0:"));

    display.Click(handset, kClose.x(), kClose.y());
    EXPECT_TRUE(WaitUntil([&] { return phone.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(server.Contacts("1001"), 0) << "still registered after the close button";
    if (phone.state() != QProcess::NotRunning) phone.kill();
}

}  // namespace
}  // namespace softphone::test
