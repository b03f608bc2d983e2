// The real program on a private X display, driven with the mouse and keyboard as a person
// would: log in, call a far end, hang up, close.
#include <gtest/gtest.h>

#include <QFile>

#include "tests/support/PulseServer.h"
#include "tests/support/RunningPhone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

const QString kNumber = QStringLiteral("15550001111");

// The real program logged in at kamailio, with a far end that answers kNumber.
struct Stage {
    explicit Stage(const XvfbDisplay& display)
        : display(display), phone(display, QStringLiteral(SOFTPHONE_BINARY)) {}
    bool LogIn() {
        if (!farEnd.Answer({"-key", "rtpport", QString::number(rtp.Port())})) return false;
        server = std::make_unique<SipServer>(QList<SipServer::Account>{{"1001", "secret"}},
                                             QList<SipServer::Route>{{kNumber, farEnd.Uri()}});
        if (!server->Start()) return false;
        handset = phone.LogIn(server->Address(), "1001", "secret");
        return !handset.isEmpty() && WaitUntil([&] { return Contacts() == 1; }, 10000);
    }
    int Contacts() const { return server->Contacts("1001"); }
    // Dials the far end; true once it hears the call.
    bool Call() {
        display.ClickAndType(handset, kNumberField.x(), kNumberField.y(), kNumber);
        display.Click(handset, kDial.x(), kDial.y());
        return WaitUntil([&] { return rtp.AudioPackets() > 10; }, 15000);
    }

    const XvfbDisplay& display;
    RtpListener rtp;
    Sipp farEnd;
    std::unique_ptr<SipServer> server;  // routes kNumber to the far end
    RunningPhone phone;
    QString handset;
};

TEST(EndToEnd, LogInCallHangUpAndClose) {
    XvfbDisplay display;
    ASSERT_TRUE(display.Started());
    Stage stage(display);
    ASSERT_TRUE(stage.LogIn());
    ASSERT_TRUE(stage.Call()) << "never answered";

    display.Click(stage.handset, kEnd.x(), kEnd.y());
    EXPECT_TRUE(stage.farEnd.Finished()) << "no BYE: " << stage.farEnd.Trace().toStdString();
    QFile history(stage.phone.home.filePath("XDG_DATA_HOME") + "/Softphone/recentcall.txt");
    ASSERT_TRUE(WaitUntil([&] { return history.exists(); }));
    ASSERT_TRUE(history.open(QIODevice::ReadOnly));
    EXPECT_TRUE(history.readLine().startsWith("15550001111--Duration: 0:0:"));

    display.Click(stage.handset, kClose.x(), kClose.y());
    EXPECT_TRUE(stage.phone.Ended());
    EXPECT_EQ(stage.Contacts(), 0) << "still registered after the close button";
}

// Escape in the login dialog at start-up ends the program, as EXIT does, with nothing stored.
TEST(EndToEnd, EscapeInTheLoginDialogEndsTheProgram) {
    XvfbDisplay display;
    ASSERT_TRUE(display.Started());
    RunningPhone phone(display, QStringLiteral(SOFTPHONE_BINARY));
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

// The session ending (SIGTERM), a service manager stopping the program or the desktop's display
// going away must not leave a registration or a call behind at the server.
TEST(EndToEnd, EveryEndUnregistersAndHangsUp) {
    enum class End { Terminated, DisplayGone };
    const struct {
        const char* name;
        End end;
        bool inCall;
    } cases[] = {
        {"SIGTERM while registered", End::Terminated, false},
        {"SIGTERM in a call", End::Terminated, true},
        {"display gone while registered", End::DisplayGone, false},
        {"display gone in a call", End::DisplayGone, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        XvfbDisplay display;
        ASSERT_TRUE(display.Started());
        Stage stage(display);
        ASSERT_TRUE(stage.LogIn());
        if (c.inCall) {
            ASSERT_TRUE(stage.Call());
        }

        if (c.end == End::Terminated)
            stage.phone.process.terminate();
        else
            display.End();
        EXPECT_TRUE(stage.phone.Ended());
        EXPECT_EQ(stage.phone.process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(stage.Contacts(), 0);
        if (c.inCall) {
            EXPECT_TRUE(stage.farEnd.Finished())
                << "no BYE: " << stage.farEnd.Trace().toStdString();
        }
    }
}

// A session log-out ends the display, the sound server and the program within milliseconds of
// each other, here as a call is being hung up: the program still ends in order, by no signal.
TEST(EndToEnd, LogOutAsACallEndsIsOrderly) {
    for (int run = 0; run < 3; ++run) {
        SCOPED_TRACE(run);
        XvfbDisplay display;
        PulseServer pulse;
        ASSERT_TRUE(display.Started() && pulse.Running());
        Stage stage(display);
        QProcessEnvironment env = stage.phone.process.processEnvironment();
        env.insert("PULSE_SERVER", pulse.Address());
        stage.phone.process.setProcessEnvironment(env);
        ASSERT_TRUE(stage.LogIn());
        ASSERT_TRUE(stage.Call());

        display.Click(stage.handset, kEnd.x(), kEnd.y());
        display.End();
        pulse.Stop();
        stage.phone.process.terminate();
        EXPECT_TRUE(stage.phone.Ended());
        EXPECT_EQ(stage.phone.process.exitStatus(), QProcess::NormalExit);
    }
}

}  // namespace
}  // namespace softphone::test
