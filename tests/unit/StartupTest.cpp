// Start-up, Login As and shutdown of the phone over a fake engine; the engine's own config left
// by a crash, through the real engine.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTemporaryDir>

#include "app/LinphoneEngine.h"
#include "tests/support/FakePhone.h"

namespace softphone::test {
namespace {

const QString kFormLoad = QStringLiteral("An Error Occured and has been logged. FORMLOAD");

// EXIT (as Escape and the close button) at the start leaves without logging in; the stored
// account, a complete one, is not used. Later, from Login As, leaving keeps the program and
// registers the stored account again; an empty password stands for the account number only at
// the start.
TEST(Startup, LeavingTheLoginDialogAndAnEmptyPassword) {
    FakePhone first;
    first.saveLogin("host", "1", "2");
    first.windows.login = LoginOutcome::Exited;
    first.window.start();
    EXPECT_TRUE(first.window.ended());
    EXPECT_FALSE(first.engine);
    EXPECT_EQ(readSavedValue(first.store, "Password"), "2");

    FakePhone phone;
    phone.saveLogin("host", "777", "");
    phone.window.start();
    EXPECT_EQ(phone.engine->enabled, "777 777 host");
    phone.windows.login = LoginOutcome::Exited;
    phone.window.onLoginAsTriggered();
    EXPECT_FALSE(phone.window.ended());
    EXPECT_EQ(phone.window.balanceLabel->text(), "EXITING");
    EXPECT_EQ(phone.engine->enabled, "777  host");
}

// "Network..." in the tray menu too; what the dialog returns is kept for the next start (the
// real move to another transport is in SecureTransportTest); a cancelled dialog changes nothing.
TEST(Startup, NetworkSettingsChosenAreStored) {
    FakePhone phone;
    phone.saveLogin("host:5061", "777", "pw");
    phone.window.start();
    QAction* network = phone.window.findChild<QAction*>("networkAction");
    ASSERT_TRUE(network && phone.desk.trayMenu->actions().contains(network));
    phone.engine->enabled.clear();
    network->trigger();
    EXPECT_EQ(phone.engine->enabled, "");
    const NetworkSettings chosen{SipTransport::Tls, "/ca.pem", SrtpPolicy::Required,
                                 "stun.example.net:3478"};
    phone.windows.network = chosen;
    network->trigger();
    EXPECT_EQ(readNetworkSettings(phone.store), chosen);
}

// After a crash the engine's config still holds the last account and its credentials; the next
// start removes them before the engine reads them (else it would register the old account
// before anyone logs in), and keeps the rest (the devices the tuning wizard chose).
TEST(Startup, CredentialsLeftInTheEngineConfigByACrashAreScrubbed) {
    for (const char* section : {"[auth_info_0]\nusername=5550100\npasswd=hunter2\n",
                                "[proxy_0]\nreg_identity=sip:hunter2@sip.example\n"}) {
        QTemporaryDir folder;
        QFile config(folder.filePath("linphonerc"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QByteArray("[sound]\nringer_dev_id=pulse:kept\n\n") + section);
        config.close();
        RecordingSoundPlayer player;
        LinphoneEngine engine(folder.path(), player, player);
        engine.initialize();
        ASSERT_TRUE(config.open(QIODevice::ReadOnly));
        const QByteArray left = config.readAll();
        EXPECT_FALSE(left.contains("hunter2")) << left.constData();
        EXPECT_TRUE(left.contains("ringer_dev_id=pulse:kept")) << left.constData();
        engine.shutdown();
    }
}

TEST(Registration, ARefusedLoginAsKeepsTheAccountAndTheTruthOfTheStatus) {
    FakePhone phone;
    phone.saveLogin("host", "1", "2");
    phone.window.start();
    phone.engine->reportRegistration(RegistrationState::Registered);
    phone.engine->failEnableAccount = true;
    phone.saveLogin("", "3", "4");
    phone.window.onLoginAsTriggered();
    EXPECT_EQ(phone.messages.shown, QStringList({kFormLoad}));
    EXPECT_EQ(phone.status(), "Registered and Ready...");
    phone.dial("123");
    EXPECT_EQ(phone.calls->last(), "Call sip:123@host") << "calls go where the account is";
}

// The close button hangs up a live call and keeps the login when Save is "yes" (erasing it when
// Save is "no" is in RegistrationTest); a window closed by the system erases nothing. Both stop
// the engine.
TEST(Shutdown, HangsUpAndErasesNothingUnasked) {
    using S = SessionState;
    for (auto [save, state] : {std::pair{"yes", S::Connected}, {"no", S::Disconnected}}) {
        FakePhone phone;
        phone.saveLogin("host", "1", "2", save);
        phone.window.start();
        auto session = std::make_shared<FakeEngine::Session>(*phone.calls);
        session->now = S::Incoming;
        phone.engine->raise(S::Incoming, session);
        session->now = state;
        state == S::Connected ? phone.window.onCloseClicked() : void(phone.window.close());
        EXPECT_EQ(readSavedValue(phone.store, "Password"), "2") << save;
        EXPECT_EQ(phone.calls->count("Shutdown"), 1) << save;
        EXPECT_EQ(phone.calls->contains("Terminate shutdown"), state == S::Connected) << save;
    }
}

}  // namespace
}  // namespace softphone::test
