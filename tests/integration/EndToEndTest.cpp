// The real program on a private X display, driven with the mouse and keyboard as a person
// would: log in, call a far end, hang up, close; and every way a session can end it.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "tests/support/PulseServer.h"
#include "tests/support/RunningPhone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

const QString kNumber = QStringLiteral("15550001111");

// The real program of a user at home in `home`, logged in at kamailio, with a far end that
// answers kNumber.
struct Stage {
    bool LogIn() {
        return display.Started() && pulse.Running() && farEnd.Answer(rtp.Port()) &&
               server.Start() && !(handset = phone.LogIn(server.Address())).isEmpty() &&
               WaitUntil([&] { return server.Contacts("1001") == 1; }, 10000);
    }
    // Dials the far end; true once it hears the call.
    bool Call() {
        display.ClickAndType(handset, kNumberField, kNumber);
        display.Click(handset, kDial);
        return WaitUntil([&] { return rtp.AudioPackets() > 10; }, 15000);
    }
    bool EndedInOrder() { return phone.Ended() && phone.exitStatus() == QProcess::NormalExit; }

    XvfbDisplay display;
    PulseServer pulse;
    QTemporaryDir home;
    RtpListener rtp;
    Sipp farEnd;
    SipServer server{{{"1001", "secret"}}, {{kNumber, farEnd.Uri()}}};
    RunningPhone phone{display, SOFTPHONE_BINARY, home.path(), home.filePath("run"),
                       pulse.Address()};
    QString handset;
};

// Escape in the login dialog at start-up ends the program, as EXIT does, with nothing stored.
TEST(EndToEnd, EscapeInTheLoginDialogEndsTheProgram) {
    Stage stage;
    const QString login = stage.phone.LoginDialog();
    ASSERT_FALSE(login.isEmpty());
    stage.display.ClickAndType(login, kAccountBox, "1001");
    stage.display.Xdo({"windowfocus", "--sync", login, "key", "Escape"});
    EXPECT_TRUE(stage.EndedInOrder());
    EXPECT_EQ(stage.phone.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(stage.home.filePath("config/Softphone/Softphone.conf")));
}

// The close button after a call (which the call history records), the session ending (SIGTERM),
// a service manager stopping the program, the desktop's display going away, or a log-out that
// ends display, sound server and program within milliseconds of each other as a call is hung up:
// the program ends in order, by no signal, and leaves no registration or call behind.
TEST(EndToEnd, EveryEndUnregistersAndHangsUp) {
    enum End { kTerminated = 1, kDisplayGone = 2, kSoundGone = 4, kHungUp = 8, kClosed = 16 };
    const struct {
        const char* name;
        int end;
        bool inCall;
    } cases[] = {
        {"close button after a call", kHungUp | kClosed, true},
        {"SIGTERM while registered", kTerminated, false},
        {"SIGTERM in a call", kTerminated, true},
        {"display gone in a call", kDisplayGone, true},
        {"log-out as a call is hung up", kHungUp | kDisplayGone | kSoundGone | kTerminated, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Stage stage;
        ASSERT_TRUE(stage.LogIn());
        ASSERT_TRUE(!c.inCall || stage.Call());
        if (c.end & kHungUp) stage.display.Click(stage.handset, kEnd);
        if (c.end & kClosed) {
            QFile history(stage.home.filePath("data/Softphone/recentcall.txt"));
            ASSERT_TRUE(WaitUntil([&] { return history.exists(); }));
            ASSERT_TRUE(history.open(QIODevice::ReadOnly));
            EXPECT_TRUE(history.readLine().startsWith("15550001111--Duration: 0:0:"));
            stage.display.Click(stage.handset, kClose);
        }
        if (c.end & kDisplayGone) stage.display.End();
        if (c.end & kSoundGone) stage.pulse.Stop();
        if (c.end & kTerminated) stage.phone.terminate();
        EXPECT_TRUE(stage.EndedInOrder());
        EXPECT_EQ(stage.server.Contacts("1001"), 0);
        EXPECT_TRUE(!c.inCall || stage.farEnd.Finished()) << stage.farEnd.Trace().toStdString();
    }
}

}  // namespace
}  // namespace softphone::test
