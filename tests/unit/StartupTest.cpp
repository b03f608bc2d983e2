// Start-up, registration states and shutdown of the phone over a fake engine.
#include <gtest/gtest.h>

#include <QLabel>

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
    EXPECT_EQ(phone.windows.loginShown, 1);
    EXPECT_EQ(*phone.calls, QStringList({"Initialize", "EnableAccount 12345 pw 127.0.0.1:5070"}));
    EXPECT_EQ(phone.phone.Registration(), RegistrationState::NotRegistered);
    EXPECT_EQ(phone.window.size(), QSize(297, 436));
    EXPECT_FALSE(phone.window.Ended());
    EXPECT_TRUE(phone.messages.shown.empty());
}

// EXIT, Escape and the dialog's close button all leave without logging in; the stored account
// (here a complete one) is not used.
TEST(Startup, LeavingTheLoginDialogWithoutLoginEndsBeforeAnyEngine) {
    for (LoginOutcome way : {LoginOutcome::Exited, LoginOutcome::Closed}) {
        FakePhone phone;
        phone.SaveLogin("host", "1", "2");
        phone.windows.login = way;
        phone.window.Start();
        EXPECT_TRUE(phone.window.Ended());
        EXPECT_EQ(phone.enginesCreated, 0);
        EXPECT_TRUE(phone.store.deleted.isEmpty());
    }
}

TEST(Startup, EmptyPasswordTakesTheAccountNumberAtStartOnly) {
    FakePhone phone;
    phone.SaveLogin("host", "777", "");
    phone.window.Start();
    EXPECT_EQ(phone.calls->last(), "EnableAccount 777 777 host");
    phone.window.OnLoginAsTriggered();
    EXPECT_EQ(phone.calls->last(), "EnableAccount 777  host");
}

TEST(Startup, MissingEngineGivesTwoBoxesAndTheWindowStillOpens) {
    FakePhone phone;
    phone.noEngine = true;
    phone.window.Start();
    EXPECT_EQ(phone.messages.Texts(), QStringList({kFormLoad, kFormLoad}));
    EXPECT_FALSE(phone.window.Ended());
    EXPECT_EQ(phone.phone.Registration(), RegistrationState::NotRegistered);
}

// Both menus hold "Network..."; what the dialog returns is stored and the account registers
// again with it; a cancelled dialog changes nothing.
TEST(Startup, NetworkSettingsChosenAreStoredAndTheAccountRegistersWithThem) {
    FakePhone phone;
    phone.SaveLogin("host:5061", "777", "pw");
    phone.window.Start();
    EXPECT_EQ(phone.engine->network, NetworkSettings{});
    QAction* network = phone.window.findChild<QAction*>("networkAction");
    ASSERT_TRUE(network);
    EXPECT_TRUE(phone.desk.trayMenu && phone.desk.trayMenu->actions().contains(network));

    phone.calls->clear();
    network->trigger();
    EXPECT_TRUE(phone.calls->isEmpty());
    EXPECT_EQ(ReadNetworkSettings(phone.store), NetworkSettings{});

    const NetworkSettings chosen{SipTransport::Tls, "/ca.pem", SrtpPolicy::Required,
                                 "stun.example.net:3478"};
    phone.windows.network = chosen;
    network->trigger();
    EXPECT_EQ(*phone.calls, QStringList({"EnableAccount 777 pw host:5061"}));
    EXPECT_EQ(phone.engine->network, chosen);
    EXPECT_EQ(ReadNetworkSettings(phone.store), chosen);
    EXPECT_EQ(phone.store.values.value("Network/Parameters/Transport"), "TLS");
}

TEST(Startup, RefusedCertificateIsShownWithItsReason) {
    FakePhone phone;
    phone.window.Start();
    phone.engine->Register(RegistrationState::Registering);
    phone.engine->RefuseCertificate("the certificate has expired");
    EXPECT_EQ(phone.Status(), "Certificate refused");
    EXPECT_EQ(phone.messages.Texts(),
              QStringList({"The server's certificate was refused: the certificate has expired"}));
    EXPECT_NE(phone.phone.Registration(), RegistrationState::Registered);
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

// Leaving the dialog there (here by EXIT) keeps the program and registers the stored account.
TEST(Registration, LoginAsRegistersTheSavedAccountWhicheverWayTheDialogIsLeft) {
    FakePhone phone;
    phone.SaveLogin("host", "1", "2");
    phone.window.Start();
    phone.calls->clear();
    phone.windows.login = LoginOutcome::Exited;
    phone.window.OnLoginAsTriggered();
    EXPECT_FALSE(phone.window.Ended());
    EXPECT_EQ(phone.window.balanceLabel->text(), "EXITING");
    EXPECT_EQ(*phone.calls, QStringList({"EnableAccount 1 2 host"}));
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
    EXPECT_EQ(phone.engine->enabled, "1");
    EXPECT_EQ(phone.phone.Registration(), RegistrationState::Registered);
    EXPECT_EQ(phone.Status(), "Registered and Ready...");
    phone.Dial("123");
    EXPECT_EQ(phone.calls->last(), "Call sip:123@host") << "calls go where the account is";
}

TEST(Shutdown, CloseButtonErasesTheAccountOnlyWhenSaveIsNo) {
    struct Case {
        const char* save;
        bool erased;
    };
    for (Case c : {Case{"no", true}, Case{"yes", false}, Case{"", false}, Case{"No", false}}) {
        FakePhone phone;
        phone.SaveLogin("host", "1", "2", c.save);
        phone.window.Start();
        phone.window.OnCloseClicked();
        EXPECT_EQ(!phone.store.Has("Account"), c.erased) << c.save;
        EXPECT_EQ(!phone.store.Has("Password"), c.erased) << c.save;
        EXPECT_TRUE(phone.store.Has("Save")) << c.save;
        EXPECT_TRUE(phone.calls->contains("Shutdown")) << c.save;
    }
}

TEST(Shutdown, EraseDeletesOnlyValuesThatAreNotEmpty) {
    FakePhone phone;
    phone.SaveLogin("", "1", "2", "no");
    phone.window.Start();
    phone.window.OnCloseClicked();
    EXPECT_EQ(phone.store.deleted, QStringList({"Password", "Account"}));
    EXPECT_TRUE(phone.store.Has("Sip"));
}

TEST(Shutdown, WindowClosedBySystemErasesNothingButStopsTheEngine) {
    FakePhone phone;
    phone.SaveLogin("host", "1", "2", "no");
    phone.window.Start();
    phone.window.close();
    EXPECT_TRUE(phone.store.deleted.isEmpty());
    EXPECT_EQ(phone.calls->count("Shutdown"), 1);
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
