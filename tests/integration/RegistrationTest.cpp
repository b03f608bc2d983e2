// The real engine registering with a real kamailio on loopback.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "tests/support/Child.h"
#include "tests/support/Phone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

const QString kRegistered = QStringLiteral("Registered and Ready...");

// What the status line settles on for each account, and that the window keeps answering while
// a server is silent or a name resolves nowhere.
TEST(Registration, StatusLineShowsHowTheLogInWent) {
    SipServer server{{{"1002", "s3cond"}, {"1003", "pa\"ss&<x>'"}}};
    ASSERT_TRUE(server.start()) << "kamailio did not start";
    const struct {
        const char* name;
        QString sip, account, password, status;
        QString trayTip = QStringLiteral("Softphone - not registered: registering");
    } cases[] = {
        {"password with XML characters", server.address(), "1003", "pa\"ss&<x>'", kRegistered,
         "Softphone"},
        {"wrong password", server.address(), "1002", "wrong", "Rejected",
         "Softphone - not registered: password refused"},
        {"dead server", QStringLiteral("127.0.0.1:%1").arg(freeUdpPort()), "1001", "secret",
         "Registering"},
        {"unresolvable host", "nowhere.invalid", "1001", "secret", "Registering"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Phone phone;
        QElapsedTimer clock;
        qint64 longestGap = 0;
        QTimer beat;
        beat.callOnTimeout([&] { longestGap = std::max(longestGap, clock.restart()); });
        clock.start();
        beat.start(20);
        phone.start({c.sip, c.account, c.password});
        phone.click("hideButton");
        // A failure may follow "Registering" late: the line must still show it after a while.
        EXPECT_TRUE(phone.shows(c.status, 10000));
        pump(1500);
        EXPECT_EQ(phone.status(), c.status);
        EXPECT_EQ(server.contacts(c.account), c.status == kRegistered ? 1 : 0);
        EXPECT_TRUE(phone.messages.shown.empty());
        EXPECT_EQ(phone.tray->tip, c.trayTip);
        EXPECT_LT(longestGap, 2000) << "the window froze";
    }
}

// Login As moves the registration to the new account, and late events of the first must not
// overwrite the new state; the registrar gone for longer than the registration lasts (a 4 s
// expiry stands in for a longer one) and back, the engine registers again as soon as it answers;
// the close button then unregisters and, Save being unticked, leaves no password anywhere.
TEST(Registration, LoginAsRegistrarGoneAndBackThenCloseLeavesNoCredentials) {
    SipServer server{{{"1001", "secret"}, {"1002", "s3cond"}}};
    server.limitExpiry(4);
    ASSERT_TRUE(server.start());
    const QString home = qEnvironmentVariable("HOME");
    QDir::setCurrent(home);  // as a desktop starts programs
    Phone phone;
    phone.start({server.address(), "1001", "secret", false});
    ASSERT_TRUE(phone.shows(kRegistered));
    phone.logInAs({server.address(), "1002", "s3cond", false});
    phone.trigger("loginAsAction");
    ASSERT_TRUE(
        waitUntil([&] { return server.contacts("1002") == 1 && server.contacts("1001") == 0; }));
    pump(300);
    EXPECT_EQ(phone.status(), kRegistered);

    server.stop();
    pump(8000);  // twice the expiry without a registrar
    ASSERT_TRUE(server.start());
    EXPECT_TRUE(waitUntil(
        [&] { return server.contacts("1002") == 1 && phone.status() == kRegistered; }, 5000));

    phone.click("closeButton");
    EXPECT_TRUE(waitUntil([&] { return server.contacts("1002") == 0; }, 3000));
    // No password, and no database (synced on the GUI thread at each call): grep's status is 1
    // when it read every file and found none.
    int status = -1;
    EXPECT_EQ(output("grep", {"-rlE", "secret|s3cond|SQLite format 3", phone.engineDir()}, &status),
              "");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(SavedLogin::read(phone.store).password, "");
    EXPECT_EQ(SavedLogin::read(phone.store).save, false);
    // The engine wrote only into its own folder: nothing in the current directory (home), no file
    // anywhere in home (sound clients make folders in the runtime folder under it).
    EXPECT_EQ(output("find", {home, "-mindepth", "1", "(", "-xtype", "f", "-o", "!", "-path",
                              home + "/run*", ")"}),
              "");
}

}  // namespace
}  // namespace softphone::test
