// The real program on a private X display with a compositor, driven with the mouse and keyboard
// as a person would: log in, call a far end, hang up, close; and every way a session can end it.
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

// The real program of a user at home in `home`, on a composited display, with kamailio and a far
// end that answers kNumber.
struct Stage {
    // Logs in and dials the far end; true once it hears the call.
    bool call() {
        if (!composited || !pulse.running() || !farEnd.answer(rtp.port()) || !server.start() ||
            (handset = phone.logIn(server.address())).isEmpty() ||
            !waitUntil([&] { return server.contacts("1001") == 1; }, 10000))
            return false;
        display.click(handset, kNumberField, kNumber);
        display.click(handset, kDial);
        return waitUntil([&] { return rtp.audioPackets() > 10; }, 15000);
    }

    XvfbDisplay display;
    Child compositor{"xcompmgr", {}, display.environment()};
    // It names the window that owns the compositing selection once it has taken it.
    bool composited = waitUntil([this] {
        return !display.xdo({"search", "--name", "^xcompmgr$"}).isEmpty();
    });
    PulseServer pulse;
    QTemporaryDir home;
    RtpListener rtp;
    Sipp farEnd;
    SipServer server{{{"1001", "secret"}}, {{kNumber, farEnd.uri()}}};
    RunningPhone phone{display, SOFTPHONE_BINARY, home.path(), home.filePath("run"),
                       pulse.address()};
    QString handset;
};

// The login dialog at start-up keeps its soft edge whole and only its input follows the outline:
// the pointer over a transparent corner is over the window behind (here the screen), a little
// further in it is over the dialog. Escape in it ends the program, as EXIT does, with nothing
// stored.
TEST(EndToEnd, LoginDialogTakesClicksInsideItsOutlineAndEscapeEndsTheProgram) {
    Stage stage;
    const QString login = stage.phone.loginDialog();
    ASSERT_TRUE(stage.composited && !login.isEmpty());
    auto windowAt = [&](const QString& x, const QString& y) {
        stage.display.xdo({"mousemove", "--sync", "--window", login, x, y});
        return stage.display.xdo({"getmouselocation", "--shell"}).section("WINDOW=", 1).trimmed();
    };
    EXPECT_NE(windowAt("1", "1"), login);
    EXPECT_EQ(windowAt("100", "100"), login);
    stage.display.click(login, kAccountBox, "1001");
    stage.display.xdo({"windowfocus", "--sync", login, "key", "Escape"});
    EXPECT_TRUE(stage.phone.endsInOrder()) << stage.phone.readAllStandardError().toStdString();
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
    const std::pair<const char*, int> cases[] = {
        {"close button after a call", kHungUp | kClosed},
        {"SIGTERM in a call", kTerminated},
        {"display gone in a call", kDisplayGone},
        {"log-out as a call is hung up", kHungUp | kDisplayGone | kSoundGone | kTerminated},
    };
    for (const auto& [name, end] : cases) {
        SCOPED_TRACE(name);
        Stage stage;
        ASSERT_TRUE(stage.call());
        if (end & kHungUp) stage.display.click(stage.handset, kEnd);
        if (end & kClosed) stage.display.click(stage.handset, kClose);
        if (end & kDisplayGone) stage.display.end();
        if (end & kSoundGone) stage.pulse.stop();
        if (end & kTerminated) stage.phone.terminate();
        EXPECT_TRUE(stage.phone.endsInOrder()) << stage.phone.readAllStandardError().toStdString();
        EXPECT_EQ(stage.server.contacts("1001"), 0);
        EXPECT_TRUE(stage.farEnd.finished()) << stage.farEnd;
    }
}

}  // namespace
}  // namespace softphone::test
