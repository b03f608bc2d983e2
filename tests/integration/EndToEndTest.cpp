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

// The program with a home of its own, logged in through its login dialog.
class RunningPhone {
public:
    explicit RunningPhone(const XvfbDisplay& display) : display_(display) {
        QProcessEnvironment env = display.Environment();
        for (const char* folder : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            env.insert(folder, home.filePath(folder));
        process.setProcessEnvironment(env);
    }
    ~RunningPhone() {
        if (process.state() == QProcess::NotRunning) return;
        process.kill();
        process.waitForFinished(3000);
    }

    // Starts the program; the login dialog's window id, or "" on failure.
    QString Start() {
        process.start(QStringLiteral(SOFTPHONE_BINARY));
        if (!process.waitForStarted(5000)) return QString();
        // A machine without a sound card first says so in a small box: the person presses Return.
        QString login;
        WaitUntil([&] {
            if (QString box = display_.Window("Softphone", 1, 280); !box.isEmpty())
                display_.Xdo({"windowfocus", "--sync", box, "key", "Return"});
            login = display_.Window("Please Enter Your Pin");
            return !login.isEmpty();
        }, 15000);
        return login;
    }

    // Starts the program and logs in; the handset window's id, or "" on failure.
    QString LogIn(const QString& server, const QString& account, const QString& password) {
        const QString login = Start();
        if (login.isEmpty()) return QString();
        display_.ClickAndType(login, kSipBox.x(), kSipBox.y(), server);
        display_.ClickAndType(login, kAccountBox.x(), kAccountBox.y(), account);
        display_.ClickAndType(login, kPasswordBox.x(), kPasswordBox.y(), password);
        display_.Click(login, kLogin.x(), kLogin.y());
        QString handset;
        WaitUntil([&] { return !(handset = display_.Window("Softphone", 281)).isEmpty(); }, 10000);
        return handset;
    }

    bool Ended() {
        return WaitUntil([&] { return process.state() == QProcess::NotRunning; }, 10000);
    }

    QTemporaryDir home;
    QProcess process;

private:
    const XvfbDisplay& display_;
};

TEST(EndToEnd, LogInCallHangUpAndClose) {
    XvfbDisplay display;
    ASSERT_TRUE(display.Started());
    RtpListener rtp;
    Sipp farEnd;
    ASSERT_TRUE(farEnd.Answer({"-key", "rtpport", QString::number(rtp.Port())}));
    SipServer server({{"1001", "secret"}}, {{"15550001111", farEnd.Uri()}});
    ASSERT_TRUE(server.Start());

    RunningPhone phone(display);
    const QString handset = phone.LogIn(server.Address(), "1001", "secret");
    ASSERT_FALSE(handset.isEmpty());
    ASSERT_TRUE(WaitUntil([&] { return server.Contacts("1001") == 1; }, 10000));
    display.ClickAndType(handset, kNumberField.x(), kNumberField.y(), "15550001111");
    display.Click(handset, kDial.x(), kDial.y());
    ASSERT_TRUE(WaitUntil([&] { return rtp.AudioPackets() > 10; }, 15000)) << "never answered";

    display.Click(handset, kEnd.x(), kEnd.y());
    EXPECT_TRUE(farEnd.Finished()) << "no BYE: " << farEnd.Trace().toStdString();
    QFile history(phone.home.filePath("XDG_DATA_HOME") + "/Softphone/recentcall.txt");
    ASSERT_TRUE(WaitUntil([&] { return history.exists(); }));
    ASSERT_TRUE(history.open(QIODevice::ReadOnly));
    EXPECT_TRUE(history.readLine().startsWith("15550001111--Duration: 0:0:"));

    display.Click(handset, kClose.x(), kClose.y());
    EXPECT_TRUE(phone.Ended());
    EXPECT_EQ(server.Contacts("1001"), 0) << "still registered after the close button";
}

// Escape in the login dialog at start-up ends the program, as EXIT does, with nothing stored.
TEST(EndToEnd, EscapeInTheLoginDialogEndsTheProgram) {
    XvfbDisplay display;
    ASSERT_TRUE(display.Started());
    RunningPhone phone(display);
    const QString login = phone.Start();
    ASSERT_FALSE(login.isEmpty());
    display.ClickAndType(login, kAccountBox.x(), kAccountBox.y(), "1001");
    display.Xdo({"windowfocus", "--sync", login, "key", "Escape"});
    ASSERT_TRUE(phone.Ended());
    EXPECT_EQ(phone.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(phone.process.exitCode(), 0);
    const QString settings = phone.home.filePath("XDG_CONFIG_HOME") + "/Softphone/Softphone.conf";
    EXPECT_FALSE(QFile::exists(settings));
}

// The session ending, or a service manager stopping the program, must not leave a
// registration behind at the server.
TEST(EndToEnd, TerminatedProgramUnregisters) {
    XvfbDisplay display;
    ASSERT_TRUE(display.Started());
    SipServer server(QList<SipServer::Account>{{"1001", "secret"}});
    ASSERT_TRUE(server.Start());
    RunningPhone phone(display);
    ASSERT_FALSE(phone.LogIn(server.Address(), "1001", "secret").isEmpty());
    ASSERT_TRUE(WaitUntil([&] { return server.Contacts("1001") == 1; }, 10000));

    phone.process.terminate();
    EXPECT_TRUE(phone.Ended());
    EXPECT_EQ(phone.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(server.Contacts("1001"), 0);
}

}  // namespace
}  // namespace softphone::test
