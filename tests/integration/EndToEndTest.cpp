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
    bool logIn() {
        return display.started() && pulse.running() && farEnd.answer(rtp.port()) &&
               server.start() && !(handset = phone.logIn(server.address())).isEmpty() &&
               waitUntil([&] { return server.contacts("1001") == 1; }, 10000);
    }
    // Dials the far end; true once it hears the call.
    bool call() {
        display.clickAndType(handset, kNumberField, kNumber);
        display.click(handset, kDial);
        return waitUntil([&] { return rtp.audioPackets() > 10; }, 15000);
    }
    ::testing::AssertionResult endedInOrder() {
        if (phone.ended() && phone.exitStatus() == QProcess::NormalExit)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << (phone.state() == QProcess::NotRunning ? "ended by a signal" : "still running")
               << "; it wrote: " << phone.readAllStandardError().right(4000).toStdString();
    }

    XvfbDisplay display;
    PulseServer pulse;
    QTemporaryDir home;
    RtpListener rtp;
    Sipp farEnd;
    SipServer server{{{"1001", "secret"}}, {{kNumber, farEnd.uri()}}};
    RunningPhone phone{display, SOFTPHONE_BINARY, home.path(), home.filePath("run"),
                       pulse.address()};
    QString handset;
};

// Escape in the login dialog at start-up ends the program, as EXIT does, with nothing stored.
TEST(EndToEnd, EscapeInTheLoginDialogEndsTheProgram) {
    Stage stage;
    const QString login = stage.phone.loginDialog();
    ASSERT_FALSE(login.isEmpty());
    stage.display.clickAndType(login, kAccountBox, "1001");
    stage.display.xdo({"windowfocus", "--sync", login, "key", "Escape"});
    EXPECT_TRUE(stage.endedInOrder());
    EXPECT_EQ(stage.phone.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(stage.home.filePath("config/Softphone/Softphone.conf")));
}

// In a call, the close button after hanging up (the call history is in CallTest), the session
// ending or a service manager stopping the program (SIGTERM), the desktop's display going away,
// or a log-out that ends display, sound server and program within milliseconds of each other as
// the call is hung up: the program ends in order, by no signal, and leaves no registration or
// call behind.
TEST(EndToEnd, EveryEndUnregistersAndHangsUp) {
    enum End { kTerminated = 1, kDisplayGone = 2, kSoundGone = 4, kHungUp = 8, kClosed = 16 };
    const struct {
        const char* name;
        int end;
    } cases[] = {
        {"close button after a call", kHungUp | kClosed},
        {"SIGTERM in a call", kTerminated},
        {"display gone in a call", kDisplayGone},
        {"log-out as a call is hung up", kHungUp | kDisplayGone | kSoundGone | kTerminated},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Stage stage;
        ASSERT_TRUE(stage.logIn());
        ASSERT_TRUE(stage.call());
        if (c.end & kHungUp) stage.display.click(stage.handset, kEnd);
        if (c.end & kClosed) stage.display.click(stage.handset, kClose);
        if (c.end & kDisplayGone) stage.display.end();
        if (c.end & kSoundGone) stage.pulse.stop();
        if (c.end & kTerminated) stage.phone.terminate();
        EXPECT_TRUE(stage.endedInOrder());
        EXPECT_EQ(stage.server.contacts("1001"), 0);
        EXPECT_TRUE(stage.farEnd.finished()) << stage.farEnd;
    }
}

}  // namespace
}  // namespace softphone::test
