// Start-up, registration states and shutdown of the main window over a fake engine.
#include <gtest/gtest.h>

#include <QLabel>

#include "app/ProvisioningXml.h"
#include "tests/support/FakePhone.h"

namespace softphone::test {
namespace {

const QString kFormLoad = QStringLiteral("An Error Occured and has been logged. FORMLOAD");

TEST(Startup, ProvisionsInOrderAfterTheLogin) {
    FakePhone phone;
    phone.SaveLogin("127.0.0.1:5070", "12345", "pw");
    QString statusWhenLoginShown;
    phone.windows.onLogin = [&](HandsetWindow& w) { statusWhenLoginShown = w.statusLabel->text(); };
    phone.window.Start();

    EXPECT_EQ(statusWhenLoginShown, "Not logged in...");
    EXPECT_EQ(phone.windows.loginShown, 1);
    EXPECT_EQ(*phone.calls, QStringList({"Initialize", "EventFilter 39", "EventSink", "Listen 2",
                                         "MediaTypes 3 1", "CreateProfile", "EnableProfile 7"}));
    EXPECT_EQ(phone.window.registrationState, "NOTREGISTERED");
    EXPECT_EQ(phone.window.profileXml, BuildProfileXml("12345", "pw", "127.0.0.1:5070", ""));
    EXPECT_EQ(phone.window.size(), QSize(297, 436));
    EXPECT_FALSE(phone.window.Ended());
    EXPECT_TRUE(phone.messages.shown.empty());
}

// EXIT, Escape and the dialog's close button all leave without logging in; the stored account
// (here a complete one) is not used.
TEST(Startup, LeavingTheLoginDialogWithoutLoginEndsBeforeAnyEngine) {
    for (const char* balance : {"EXITING", ""}) {
        FakePhone phone;
        phone.SaveLogin("host", "1", "2");
        phone.windows.loggedIn = false;
        phone.windows.onLogin = [&](HandsetWindow& w) { w.balanceLabel->setText(balance); };
        phone.window.Start();
        EXPECT_TRUE(phone.window.Ended()) << balance;
        EXPECT_EQ(phone.enginesCreated, 0) << balance;
        EXPECT_TRUE(phone.store.deleted.isEmpty()) << balance;
    }
}

TEST(Startup, EmptyPasswordTakesTheAccountNumber) {
    FakePhone phone;
    phone.SaveLogin("host", "777", "");
    phone.window.Start();
    EXPECT_EQ(phone.window.password, "777");
    EXPECT_TRUE(phone.window.profileXml.contains("password=\"777\""));
}

TEST(Startup, MissingEngineGivesTwoBoxesAndTheWindowStillOpens) {
    FakePhone phone;
    phone.noEngine = true;
    phone.window.Start();
    EXPECT_EQ(phone.messages.Texts(), QStringList({kFormLoad, kFormLoad}));
    EXPECT_FALSE(phone.window.Ended());
    EXPECT_EQ(phone.window.registrationState, "NOTREGISTERED");
}

TEST(Startup, RefusedProfileGivesOneBoxAndKeepsTheState) {
    FakePhone phone;
    phone.SaveLogin("host", "1", "2");
    phone.window.Start();
    phone.engine->Raise(kEventRegistrationState, {kRegRegistered, nullptr, 0, 0});
    phone.engine->failCreateProfile = true;
    phone.window.OnLoginAsTriggered();
    EXPECT_EQ(phone.messages.Texts(), QStringList({kFormLoad}));
    EXPECT_EQ(phone.window.registrationState, "REGISTERED");
}

TEST(Registration, StateNumbersSetTheStateAndTheStatusLine) {
    struct Row {
        int state;
        const char *regState, *status;
    };
    const Row rows[] = {{0, "NOTREGISTERED", "Not Registered"},
                        {1, "REGISTERING", "Registering"},
                        {2, "REGISTERED", "Registered and Ready..."},
                        {3, "REJECTED", "Rejected"},
                        {6, "LOGGEDOFF", "Logged off."}};
    FakePhone phone;
    phone.window.Start();
    for (const Row& row : rows) {
        phone.engine->Raise(kEventRegistrationState, {row.state, nullptr, 0, 0});
        EXPECT_EQ(phone.window.registrationState, row.regState) << row.state;
        EXPECT_EQ(phone.Status(), row.status) << row.state;
        // Unregistering, error and unknown numbers change nothing.
        for (int ignored : {4, 5, 7, -1}) {
            phone.engine->Raise(kEventRegistrationState, {ignored, nullptr, 0, 0});
            EXPECT_EQ(phone.window.registrationState, row.regState) << ignored;
            EXPECT_EQ(phone.Status(), row.status) << ignored;
        }
    }
}

// Leaving the dialog there (here by EXIT) keeps the program and the stored account.
TEST(Registration, LoginAsEnablesTheNewProfileAndIgnoresExit) {
    FakePhone phone;
    phone.SaveLogin("host", "1", "2");
    phone.window.Start();
    phone.calls->clear();
    phone.windows.loggedIn = false;
    phone.windows.onLogin = [](HandsetWindow& w) { w.balanceLabel->setText("EXITING"); };
    phone.window.OnLoginAsTriggered();
    EXPECT_FALSE(phone.window.Ended());
    EXPECT_EQ(phone.window.balanceLabel->text(), "EXITING");
    EXPECT_EQ(*phone.calls, QStringList({"CreateProfile", "EnableProfile 7"}));
}

TEST(Registration, ARefusedLoginAsKeepsTheAccountAndTheTruthOfTheStatus) {
    FakePhone phone;
    phone.SaveLogin("host", "1", "2");
    phone.window.Start();
    phone.engine->Raise(kEventRegistrationState, {kRegRegistered, nullptr, 0, 0});
    const auto registered = phone.window.account;
    phone.engine->failEnableProfile = true;
    phone.window.OnLoginAsTriggered();
    EXPECT_EQ(phone.messages.Texts(), QStringList({kFormLoad}));
    EXPECT_EQ(phone.window.account, registered);
    EXPECT_EQ(phone.engine->enabled, registered);
    EXPECT_EQ(phone.Status(), "Registered and Ready...");
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
    for (const char* line :
         {"INCOMING", "ANSWERING", "INPROGRESS", "CONNECTED", "CONNECTED 0:1:5"}) {
        FakePhone phone;
        phone.StartRegistered();
        const int state = QString(line).startsWith("CONNECTED") ? kSessionConnected
                          : line == QString("INCOMING")         ? kSessionIncoming
                          : line == QString("ANSWERING")        ? kSessionAnswering
                                                                : kSessionInProgress;
        phone.window.session = std::make_shared<FakeEngine::Session>(*phone.calls, state);
        phone.window.statusLabel->setText(line);
        phone.window.OnCloseClicked();
        EXPECT_TRUE(phone.calls->contains("Terminate 5")) << line;
    }
    FakePhone idle;
    idle.StartRegistered();
    idle.window.session =
        std::make_shared<FakeEngine::Session>(*idle.calls, kSessionDisconnected);
    idle.window.statusLabel->setText("DISCONNECTED");
    idle.window.OnCloseClicked();
    EXPECT_FALSE(idle.calls->contains("Terminate 5"));
}

}  // namespace
}  // namespace softphone::test
