// Start-up, registration states and shutdown of the phone over a fake engine; the engine's own
// config left by a crash, through the real engine.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTemporaryDir>

#include "app/LinphoneEngine.h"
#include "tests/support/FakePhone.h"

namespace softphone::test {
namespace {

const QString kFormLoad = QStringLiteral("An Error Occured and has been logged. FORMLOAD");

TEST(Startup, RegistersTheSavedAccountAfterTheLogin) {
    FakePhone phone;
    phone.SaveLogin("127.0.0.1:5070", "12345", "pw");
    QString statusWhenLoginShown;
    phone.windows.onLogin = [&] { statusWhenLoginShown = phone.Status(); };
    phone.window.Start();
    EXPECT_EQ(statusWhenLoginShown, "Not logged in...");
    EXPECT_EQ(phone.engine->enabled, "12345 pw 127.0.0.1:5070");
    EXPECT_FALSE(phone.window.Ended());
    EXPECT_TRUE(phone.messages.shown.empty());
    // An empty password is taken to be the account number, at the start only.
    phone.SaveLogin("host", "777", "");
    phone.window.OnLoginAsTriggered();
    EXPECT_EQ(phone.engine->enabled, "777  host");
    FakePhone next;
    next.SaveLogin("host", "777", "");
    next.window.Start();
    EXPECT_EQ(next.engine->enabled, "777 777 host");
}

// EXIT, Escape and the dialog's close button all leave without logging in; the stored account
// (here a complete one) is not used. Later, from Login As, leaving keeps the program and
// registers the stored account.
TEST(Startup, LeavingTheLoginDialog) {
    for (LoginOutcome way : {LoginOutcome::Exited, LoginOutcome::Closed}) {
        FakePhone phone;
        phone.SaveLogin("host", "1", "2");
        phone.windows.login = way;
        phone.window.Start();
        EXPECT_TRUE(phone.window.Ended());
        EXPECT_EQ(phone.enginesCreated, 0);
        EXPECT_TRUE(phone.store.Has("Account") && phone.store.Has("Password"));
    }
    FakePhone phone;
    phone.SaveLogin("host", "1", "2");
    phone.window.Start();
    phone.engine->enabled.clear();
    phone.windows.login = LoginOutcome::Exited;
    phone.window.OnLoginAsTriggered();
    EXPECT_FALSE(phone.window.Ended());
    EXPECT_EQ(phone.window.balanceLabel->text(), "EXITING");
    EXPECT_EQ(phone.engine->enabled, "1 2 host");
}

TEST(Startup, MissingEngineGivesTwoBoxesAndTheWindowStillOpens) {
    FakePhone phone;
    phone.noEngine = true;
    phone.window.Start();
    EXPECT_EQ(phone.messages.Texts(), QStringList({kFormLoad, kFormLoad}));
    EXPECT_FALSE(phone.window.Ended());
}

// Both menus hold "Network..."; what the dialog returns is stored and the account registers
// again with it (the real move to another transport is in SecureTransportTest); a cancelled
// dialog changes nothing.
TEST(Startup, NetworkSettingsChosenAreStoredAndTheAccountRegistersWithThem) {
    FakePhone phone;
    phone.SaveLogin("host:5061", "777", "pw");
    phone.window.Start();
    QAction* network = phone.window.findChild<QAction*>("networkAction");
    ASSERT_TRUE(network && phone.desk.trayMenu->actions().contains(network));
    phone.engine->enabled.clear();
    network->trigger();
    EXPECT_EQ(phone.engine->enabled, "");
    EXPECT_EQ(ReadNetworkSettings(phone.store), NetworkSettings{});

    const NetworkSettings chosen{SipTransport::Tls, "/ca.pem", SrtpPolicy::Required,
                                 "stun.example.net:3478"};
    phone.windows.network = chosen;
    network->trigger();
    EXPECT_EQ(phone.engine->enabled, "777 pw host:5061");
    EXPECT_EQ(phone.engine->network, chosen);
    EXPECT_EQ(ReadNetworkSettings(phone.store), chosen);
}

// After a crash the engine's config still holds the last account and its credentials; the next
// start removes them before the engine reads them (else it would register the old account
// before anyone logs in), and keeps the rest (the devices the tuning wizard chose).
TEST(Startup, CredentialsLeftInTheEngineConfigByACrashAreScrubbed) {
    const struct {
        const char* section;
        const char* lines;
        const char* secret;
    } cases[] = {
        {"auth_info_0", "username=5550100\npasswd=hunter2", "hunter2"},
        {"auth_info_1", "username=5550100\nha1=4f1a7b2c9d0e", "4f1a7b2c9d0e"},
        {"proxy_0", "reg_identity=sip:5550100@sip.example\nreg_sendregister=1", "5550100"},
    };
    for (const auto& c : cases) {
        QTemporaryDir folder;
        QFile config(folder.filePath("linphonerc"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QByteArray("[sound]\nringer_dev_id=pulse:kept\n\n[") + c.section + "]\n" +
                     c.lines + "\n");
        config.close();
        RecordingSoundPlayer player;
        LinphoneEngine engine(folder.path(), player, player);
        engine.Initialize();
        ASSERT_TRUE(config.open(QIODevice::ReadOnly));
        const QByteArray left = config.readAll();
        EXPECT_FALSE(left.contains(c.secret)) << left.constData();
        EXPECT_TRUE(left.contains("ringer_dev_id=pulse:kept")) << left.constData();
        engine.Shutdown();
    }
}

TEST(Registration, StatesSetTheStateAndTheStatusLine) {
    using R = RegistrationState;
    const std::pair<R, const char*> rows[] = {{R::NotRegistered, "Not Registered"},
                                              {R::Registering, "Registering"},
                                              {R::Registered, "Registered and Ready..."},
                                              {R::Rejected, "Rejected"},
                                              {R::LoggedOff, "Logged off."}};
    FakePhone phone;
    phone.window.Start();
    for (const auto& [state, status] : rows) {
        phone.engine->Register(state);
        EXPECT_EQ(phone.phone.Registration(), state) << status;
        EXPECT_EQ(phone.Status(), status);
        // Unregistering and failures change nothing.
        for (R ignored : {R::Unregistering, R::Failed}) {
            phone.engine->Register(ignored);
            EXPECT_EQ(phone.phone.Registration(), state) << status;
            EXPECT_EQ(phone.Status(), status);
        }
    }
}

TEST(Registration, ARefusedLoginAsKeepsTheAccountAndTheTruthOfTheStatus) {
    FakePhone phone;
    phone.SaveLogin("host", "1", "2");
    phone.window.Start();
    phone.engine->Register(RegistrationState::Registered);
    phone.engine->failEnableAccount = true;
    phone.SaveLogin("", "3", "4");
    phone.window.OnLoginAsTriggered();
    EXPECT_EQ(phone.messages.Texts(), QStringList({kFormLoad}));
    EXPECT_EQ(phone.phone.Registration(), RegistrationState::Registered);
    EXPECT_EQ(phone.Status(), "Registered and Ready...");
    phone.Dial("123");
    EXPECT_EQ(phone.calls->last(), "Call sip:123@host") << "calls go where the account is";
}

// The close button erases the login (server, account, password) only when Save is "no"; a window
// closed by the system erases nothing. Both stop the engine.
TEST(Shutdown, ErasesTheAccountOnlyWhenSaveIsNo) {
    const struct {
        const char* save;
        bool closeButton, erased;
    } cases[] = {{"no", true, true},
                 {"yes", true, false},
                 {"", true, false},
                 {"No", true, false},
                 {"no", false, false}};
    for (const auto& c : cases) {
        FakePhone phone;
        phone.SaveLogin("host", "1", "2", c.save);
        phone.window.Start();
        c.closeButton ? phone.window.OnCloseClicked() : void(phone.window.close());
        for (const char* app : {"Sip", "Account", "Password"})
            EXPECT_EQ(!phone.store.Has(app), c.erased) << c.save << " " << app;
        EXPECT_TRUE(phone.store.Has("Save")) << c.save;
        EXPECT_EQ(phone.calls->count("Shutdown"), 1) << c.save;
    }
}

TEST(Shutdown, CloseButtonEndsAnActiveCallWithReasonShutdown) {
    using S = SessionState;
    for (S state : {S::Incoming, S::Answering, S::InProgress, S::Connected, S::Disconnected}) {
        FakePhone phone;
        phone.StartRegistered();
        auto session = std::make_shared<FakeEngine::Session>(*phone.calls, S::Incoming);
        phone.engine->Raise(S::Incoming, session);
        session->state = state;
        // A registration refresh may have overwritten the status line meanwhile.
        phone.engine->Register(RegistrationState::Registered);
        phone.window.OnCloseClicked();
        EXPECT_EQ(phone.calls->contains("Terminate shutdown"), IsActive(state)) << int(state);
    }
}

}  // namespace
}  // namespace softphone::test
