// Start-up, Login As, the network settings and shutdown of the handset over a fake engine; the
// engine's own config left by a crash, through the real engine; a suspend noticed afterwards.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTemporaryDir>

#include "app/LinphoneEngine.h"
#include "support/SleepWatcher.h"
#include "tests/support/FakePhone.h"

namespace softphone::test {
namespace {

// EXIT (as Escape and the close button) at the start leaves without logging in; the stored
// account, a complete one, is not used. Later, from Login As, leaving keeps the program and
// registers the stored account again. "Network..." keeps what the dialog returns (registering
// with it: SecureTransportTest); a cancelled dialog changes nothing.
TEST(Startup, LoginDialogAndNetworkSettings) {
    FakePhone first;
    first.saveLogin("host", "1", "2");
    first.windows.login = LoginOutcome::Exited;
    first.window.start();
    EXPECT_TRUE(first.window.ended());
    EXPECT_FALSE(first.engine);
    EXPECT_EQ(SavedLogin::read(first.store).password, "2");

    FakePhone phone;
    phone.saveLogin("host", "777", "");
    phone.window.start();
    phone.windows.login = LoginOutcome::Exited;
    phone.trigger("loginAsAction");
    EXPECT_FALSE(phone.window.ended());
    EXPECT_EQ(phone.control<QLabel>("balanceLabel")->text(), "EXITING");
    EXPECT_EQ(phone.engine->enabled, "777  host");

    phone.engine->enabled.clear();
    phone.trigger("networkAction");
    EXPECT_EQ(phone.engine->enabled, "");
    const NetworkSettings chosen{SipTransport::Tls, "/ca.pem", SrtpPolicy::Required,
                                 "stun.example.net:3478"};
    phone.windows.network = chosen;
    phone.trigger("networkAction");
    EXPECT_EQ(readNetworkSettings(phone.store), chosen);
}

// After a crash the engine's config still holds the last account and its credentials; the next
// start removes them before the engine reads them (else it would register the old account
// before anyone logs in), and keeps the rest (the devices the tuning wizard chose).
TEST(Startup, CredentialsLeftInTheEngineConfigByACrashAreScrubbed) {
    QTemporaryDir folder;
    QFile config(folder.filePath("linphonerc"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(
        "[sound]\nringer_dev_id=pulse:kept\n\n[auth_info_0]\nusername=5550100\n"
        "passwd=hunter2\n\n[proxy_0]\nreg_identity=sip:hunter2@sip.example\n");
    config.close();
    LinphoneEngine engine(folder.path());
    engine.initialize();
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    const QByteArray left = config.readAll();
    EXPECT_FALSE(left.contains("hunter2")) << left.constData();
    EXPECT_TRUE(left.contains("ringer_dev_id=pulse:kept")) << left.constData();
    engine.shutdown();
}

// The close button hangs up a live call and keeps the login when Save was ticked (erasing it
// when it was not is in RegistrationTest); a window closed by the system erases nothing. Both
// stop the engine.
TEST(Shutdown, HangsUpAndErasesNothingUnasked) {
    for (const bool closeButton : {true, false}) {
        FakePhone phone;
        phone.saveLogin("host", "1", "2", closeButton);
        phone.window.start();
        auto session = phone.engine->ring();
        if (!closeButton) phone.engine->raise(session, SessionState::Disconnected);
        closeButton ? phone.click("closeButton") : void(phone.window.close());
        EXPECT_EQ(SavedLogin::read(phone.store).password, "2") << closeButton;
        EXPECT_EQ(phone.calls.count("shutdown"), 1) << closeButton;
        EXPECT_EQ(phone.calls.contains("terminate shutdown"), closeButton) << closeButton;
    }
}

// Only time the boot clock counted and the monotonic clock missed is a sleep.
TEST(SleepClock, OnlyTimeTheMonotonicClockMissedIsASleep) {
    using namespace std::chrono_literals;
    const ClockReading before{100s, 40s};
    EXPECT_FALSE(sleptBetween(before, {110s, 50s}));  // awake, both clocks moved 10 s
    EXPECT_FALSE(sleptBetween(before, {111s, 50s}));  // clocks read 1 s apart under load
    EXPECT_TRUE(sleptBetween(before, {130s, 50s}));   // suspended for 20 s of the 30 s
}

}  // namespace
}  // namespace softphone::test
