// The real engine at home behind a router that masquerades it, against kamailio and sipp at the
// provider: network namespaces of the test's own.
#include <gtest/gtest.h>

#include <optional>

#include "tests/support/HomeRouter.h"
#include "tests/support/Phone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

// The router forgets an idle UDP binding after this long; the phone's keep-alives come every 10 s.
constexpr int kRouterMemorySeconds = 12;

class NatTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!net.Failure().isEmpty()) GTEST_SKIP() << net.Failure().toStdString();
        {
            InNamespace provider(net.Provider());
            ASSERT_TRUE(provider.Entered());
            farEnd.emplace(HomeRouter::kProvider);
            ASSERT_TRUE(farEnd->AnswerAndEcho());
            server.emplace(QList<SipServer::Account>{{"1001", "secret"}},
                           QList<SipServer::Route>{{"6000", farEnd->Uri()}});
            server->ListenOn(HomeRouter::kProvider);
            ASSERT_TRUE(server->Start());
        }
        // Set before the first packet: a binding keeps the timeout it was last refreshed with.
        ASSERT_TRUE(net.ForgetUdpAfter(kRouterMemorySeconds) &&
                    net.CountMediaBesides(server->Port()))
            << net.Failure().toStdString();
        home.emplace(net.Home());
        ASSERT_TRUE(home->Entered());
        phone.emplace();
        phone->Start({server->Address(), "1001", "secret"});
        ASSERT_TRUE(WaitUntil([&] { return phone->Registered(); }))
            << phone->Status().toStdString();
    }

    // Calls the phone from the provider; true when it rings and the call, answered, ends.
    bool CallRingsAndIsAnswered() {
        std::optional<Sipp> caller;
        {
            InNamespace provider(net.Provider());
            caller.emplace(HomeRouter::kProvider);
            if (!caller->Call(server->Address(), "1001", 500)) return false;
        }
        if (!WaitUntil([&] { return phone->Status() == "INCOMING"; })) return false;
        phone->window.OnDialClicked();
        return WaitUntil([&] { return phone->Status() == "DISCONNECTED"; }) && caller->Finished();
    }

    HomeRouter net;  // the last to go, after everything running inside it
    std::optional<Sipp> farEnd;
    std::optional<SipServer> server;
    std::optional<InNamespace> home;
    std::optional<Phone> phone;
};

// The far end echoes to where the audio comes from: the router's public side. The echo reaches
// the phone only through the router's binding, and the phone sends to where it comes from.
TEST_F(NatTest, OutgoingCallConnectsAndAudioFlowsBothWaysThroughTheRouter) {
    phone->Dial("6000");
    ASSERT_TRUE(WaitUntil([&] { return phone->Status().startsWith("CONNECTED"); }))
        << phone->Status().toStdString() << "\n"
        << farEnd->Trace().toStdString();
    EXPECT_TRUE(WaitUntil([&] { return net.MediaOut() >= 25 && net.MediaIn() >= 25; }))
        << net.MediaOut() << " out, " << net.MediaIn() << " in";
    phone->window.OnEndClicked();
    EXPECT_TRUE(WaitUntil([&] { return phone->Status() == "DISCONNECTED"; }));
    EXPECT_TRUE(farEnd->Finished()) << farEnd->Trace().toStdString();
}

// The provider has no route to the home: the call arrives only at the router's public address
// the registration carries, through a binding that keep-alives hold open while the router
// forgets idle ones quickly.
TEST_F(NatTest, IncomingCallsRingAtOnceAndAfterTheRouterForgetsIdleBindings) {
    EXPECT_TRUE(CallRingsAndIsAnswered()) << phone->Status().toStdString();
    Pump(2 * kRouterMemorySeconds * 1000 + 1000);
    EXPECT_TRUE(CallRingsAndIsAnswered()) << phone->Status().toStdString();
}

}  // namespace
}  // namespace softphone::test
