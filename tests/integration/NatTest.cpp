// The real engine at home behind a router that masquerades it, against kamailio, sipp and a
// STUN server (coturn) at the provider: network namespaces of the test's own.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <optional>

#include "records/NetworkSettings.h"
#include "tests/support/HomeRouter.h"
#include "tests/support/Phone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

// The router forgets an idle UDP binding after this long; the phone's keep-alives come every 10 s.
constexpr int kRouterMemorySeconds = 12;
constexpr const char* kRouterOutside = "198.18.0.1";
constexpr const char* kHome = "10.0.0.2";

// The address the phone's session description gives its audio (the last c= line: a media-level
// one overrides the session's), as the far end received it.
QString PhoneMediaAddress(const QString& trace) {
    const QString phoneSdp = QRegularExpression("\\no=.* IN IP4 (?!" +
                                                QRegularExpression::escape(HomeRouter::kProvider) +
                                                ")[\\s\\S]*?(\\n-{10}|$)")
                                 .match(trace)
                                 .captured();
    QString address;
    for (const auto& match : QRegularExpression("c=IN IP4 ([0-9.]+)").globalMatch(phoneSdp))
        address = match.captured(1);
    return address;
}

class NatTest : public ::testing::Test {
protected:
    virtual bool WithStun() const { return false; }

    void SetUp() override {
        if (!net.Failure().isEmpty()) GTEST_SKIP() << net.Failure().toStdString();
        NetworkSettings network;
        if (WithStun()) {
            network.stunServer = net.StartStun();
            ASSERT_FALSE(network.stunServer.isEmpty()) << "coturn did not start";
        }
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
        ASSERT_TRUE(net.ForgetUdpAfter(kRouterMemorySeconds)) << net.Failure().toStdString();
        home.emplace(net.Home());
        ASSERT_TRUE(home->Entered());
        phone.emplace();
        WriteNetworkSettings(phone->store, network);
        phone->Start({server->Address(), "1001", "secret"});
        ASSERT_TRUE(WaitUntil([&] { return phone->Registered(); }))
            << phone->Status().toStdString();
    }

    // A caller at the provider that echoes the phone's audio and hangs up after `holdMs`.
    bool CallThePhone(std::optional<Sipp>& caller, int holdMs) {
        InNamespace provider(net.Provider());
        caller.emplace(HomeRouter::kProvider);
        return caller->Run("call.xml", {"-s", "1001", "-d", QString::number(holdMs), "-rtp_echo",
                                        server->Address()});
    }

    // Calls the phone from the provider; true when it rings and the call, answered, ends.
    bool CallRingsAndIsAnswered() {
        std::optional<Sipp> caller;
        if (!CallThePhone(caller, 500) || !WaitUntil([&] { return phone->Status() == "INCOMING"; }))
            return false;
        phone->window.OnDialClicked();
        return WaitUntil([&] { return phone->Status() == "DISCONNECTED"; }) && caller->Finished();
    }

    HomeRouter net;  // the last to go, after everything running inside it
    std::optional<Sipp> farEnd;
    std::optional<SipServer> server;
    std::optional<InNamespace> home;
    std::optional<Phone> phone;
};

struct NatCall {
    const char* name;
    bool stun, incoming;
    const char* mediaAddress;  // in the phone's session description
};
void PrintTo(const NatCall& call, std::ostream* out) { *out << call.name; }

class NatCallTest : public NatTest, public ::testing::WithParamInterface<NatCall> {
    bool WithStun() const override { return GetParam().stun; }
};

// The far end echoes to where the audio comes from: the router's public side. The echo reaches
// the phone only through the router's binding, and the phone sends to where it comes from; so
// audio flows both ways with STUN and without. What differs is the address the phone gives for
// its audio: with STUN, the router's public side it learnt, as its ICE default candidate. ICE
// gathers only where the far end offers it too, so an answer to a plain offer names the home
// address whatever the STUN setting. The Contact, learnt from the registrar, is public anyway.
TEST_P(NatCallTest, CarriesAudioBothWays) {
    std::optional<Sipp> caller;
    if (GetParam().incoming) {
        ASSERT_TRUE(CallThePhone(caller, 2000));
        ASSERT_TRUE(net.CountMediaAt(caller->MediaPort())) << net.Failure().toStdString();
        ASSERT_TRUE(WaitUntil([&] { return phone->Status() == "INCOMING"; }));
        phone->window.OnDialClicked();
    } else {
        ASSERT_TRUE(net.CountMediaAt(farEnd->MediaPort())) << net.Failure().toStdString();
        phone->Dial("6000");
    }
    Sipp& far = caller ? *caller : *farEnd;
    ASSERT_TRUE(WaitUntil([&] { return phone->Status().startsWith("CONNECTED"); }))
        << phone->Status().toStdString() << "\n"
        << far.Trace().toStdString();
    AudioPackets atPhone;
    EXPECT_TRUE(WaitUntil([&] {
        if (const auto& session = phone->phone.Session()) atPhone = session->Audio();
        return net.MediaArrived() >= 25 && net.MediaLeft() >= 25 && atPhone.sent >= 25 &&
               atPhone.received >= 25;
    })) << "far end: "
        << net.MediaArrived() << " in, " << net.MediaLeft() << " out; phone: " << atPhone.sent
        << " sent, " << atPhone.received << " received";
    EXPECT_EQ(PhoneMediaAddress(far.Trace()), GetParam().mediaAddress) << far.Trace().toStdString();
    EXPECT_TRUE(far.Trace().contains(QStringLiteral("Contact: <sip:1001@%1:").arg(kRouterOutside)));
    if (!caller) phone->window.OnEndClicked();
    EXPECT_TRUE(WaitUntil([&] { return phone->Status() == "DISCONNECTED"; }));
    EXPECT_TRUE(far.Finished()) << far.Trace().toStdString();
}

INSTANTIATE_TEST_SUITE_P(StunOnAndOff, NatCallTest,
                         ::testing::Values(NatCall{"OutgoingWithStun", true, false, kRouterOutside},
                                           NatCall{"IncomingWithStun", true, true, kHome},
                                           NatCall{"OutgoingWithoutStun", false, false, kHome},
                                           NatCall{"IncomingWithoutStun", false, true, kHome}),
                         [](const auto& info) { return std::string(info.param.name); });

// The provider has no route to the home: the call arrives only at the router's public address
// the registration carries, through a binding that keep-alives hold open while the router
// forgets idle ones quickly.
TEST_F(NatTest, IncomingCallsRingAfterTheRouterForgetsIdleBindings) {
    Pump(2 * kRouterMemorySeconds * 1000 + 1000);
    EXPECT_TRUE(CallRingsAndIsAnswered()) << phone->Status().toStdString();
}

}  // namespace
}  // namespace softphone::test
