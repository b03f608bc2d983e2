// The real engine at home behind a router that masquerades it, against kamailio, sipp and a
// STUN server (coturn) at the provider: network namespaces of the test's own.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <fstream>
#include <optional>

#include "app/NetworkSettings.h"
#include "tests/support/HomeRouter.h"
#include "tests/support/Phone.h"
#include "tests/support/Sipp.h"

namespace softphone::test {
namespace {

constexpr const char* kRouterOutside = "198.18.0.1";
constexpr const char* kHome = "10.0.0.2";

// The address the phone's session description gave its audio, as the far end received it: the
// last c= line besides the far end's own (a media-level one overrides the session's).
QString phoneMediaAddress(const QString& trace) {
    QString address;
    for (const auto& match : QRegularExpression("c=IN IP4 ([0-9.]+)").globalMatch(trace))
        if (match.captured(1) != HomeRouter::kProvider) address = match.captured(1);
    return address;
}

class NatTest : public ::testing::Test {
protected:
    virtual bool withStun() const { return true; }

    void SetUp() override {
        if (!net.failure().isEmpty()) GTEST_SKIP() << net.failure().toStdString();
        const NetworkSettings network{
            SipTransport::Udp, {}, SrtpPolicy::Off, withStun() ? net.startStun() : QString()};
        ASSERT_TRUE(!withStun() || !network.stunServer.isEmpty()) << "coturn did not start";
        {
            InNamespace provider(net.name("provider"));
            farEnd.emplace(HomeRouter::kProvider);
            ASSERT_TRUE(farEnd->answerAndEcho());
            server.emplace(QList<SipServer::Account>{{"1001", "secret"}, {"1002", "secret"}},
                           QList<SipServer::Route>{{"6000", farEnd->uri()}});
            server->listenOn(HomeRouter::kProvider);
            ASSERT_TRUE(server->start());
        }
        home.emplace(net.name("home"));
        phone.emplace();
        writeNetworkSettings(phone->store, network);
        phone->start({server->address(), "1001", "secret"});
        ASSERT_TRUE(phone->shows("Registered"));
    }

    // Audio goes to the far end, and back to the phone unless `oneWay` (then the phone hears
    // less than the far end does); counted at the far end's port and by the phone's engine.
    ::testing::AssertionResult audioFlows(bool oneWay = false) {
        AudioPackets atPhone;
        bool flows = waitUntil([&] {
            if (const auto& session = phone->phone.session()) atPhone = session->audio();
            return net.packets("arrived") >= 25 && atPhone.sent >= 25 &&
                   (oneWay || (net.packets("left") >= 25 && atPhone.received >= 25));
        });
        if (oneWay) flows = flows && atPhone.received < 25;
        return (flows ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
               << "far end: " << net.packets("arrived") << " in, " << net.packets("left")
               << " out; phone: " << atPhone.sent << " sent, " << atPhone.received << " received";
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
    int idleSeconds = 0;       // before the call
    bool oneWay = false;       // the phone does not hear the far end
};
void PrintTo(const NatCall& call, std::ostream* out) { *out << call.name; }

class NatCallTest : public NatTest, public ::testing::WithParamInterface<NatCall> {
    bool withStun() const override { return GetParam().stun; }
};

// The provider has no route to the home: a call arrives only at the router's public address
// the registration carries, through a binding the keep-alives hold open while the router forgets
// idle ones quickly. The far end called echoes to where the audio comes from, the router's public
// side, so audio flows both ways with STUN and without. A caller sends its audio to the address in
// the phone's answer, as gateways without a session border controller do: with STUN, the public
// one the phone asked STUN for its audio port (in an offer, the ICE default candidate); without,
// the home's, so the caller is not heard.
TEST_P(NatCallTest, CarriesAudioBothWays) {
    pump(GetParam().idleSeconds * 1000);
    std::optional<Sipp> caller;
    if (GetParam().incoming) {
        InNamespace provider(net.name("provider"));
        caller.emplace(HomeRouter::kProvider);  // hangs up 3 s after the answer
        ASSERT_TRUE(caller->callPlaying(server->address(), "1001", 2000));
    }
    Sipp& far = caller ? *caller : *farEnd;
    ASSERT_TRUE(net.countMediaAt(far.mediaPort())) << net.failure().toStdString();
    if (!caller)
        phone->dial("6000");
    else if (phone->shows("INCOMING"))
        phone->click("dialButton");
    ASSERT_TRUE(phone->shows("CONNECTED")) << far;
    EXPECT_TRUE(audioFlows(GetParam().oneWay));
    EXPECT_EQ(phoneMediaAddress(far.trace()), GetParam().mediaAddress) << far;
    EXPECT_TRUE(far.trace().contains(QStringLiteral("Contact: <sip:1001@%1:").arg(kRouterOutside)));
    if (!caller) phone->click("endButton");
    EXPECT_TRUE(phone->shows("DISCONNECTED"));
    EXPECT_TRUE(far.finished()) << far;
}

INSTANTIATE_TEST_SUITE_P(
    FromHome, NatCallTest,
    ::testing::Values(NatCall{"OutgoingWithStun", true, false, kRouterOutside},
                      NatCall{"OutgoingWithoutStun", false, false, kHome},
                      NatCall{"IncomingWithoutStunIsOneWay", false, true, kHome, 0, true},
                      NatCall{"IncomingWithStunAfterTheRouterForgetsIdleBindings", true, true,
                              kRouterOutside, 2 * HomeRouter::kForgetsUdpAfter + 1}),
    [](const auto& info) { return std::string(info.param.name); });

// A far end that speaks ICE: this program again, at the provider, as a second phone (1002) that
// answers one call.
TEST(NatFarEnd, DISABLED_AnswersACall) {
    Phone phone;
    phone.start({qEnvironmentVariable("NAT_FAR_END_SERVER"), "1002", "secret"});
    // Whole once the stream closes; the caller waits for it.
    std::ofstream(qEnvironmentVariable("NAT_FAR_END_AUDIO_PORT_FILE").toStdString())
        << phone.engine->audioPort();
    ASSERT_TRUE(phone.shows("INCOMING", 20000));
    phone.click("dialButton");
    EXPECT_TRUE(phone.shows("DISCONNECTED", 20000));
}

// Both ends offer ICE: candidates go both ways, and the far end's connectivity checks (STUN)
// arrive at its audio port beside the audio.
TEST_F(NatTest, CallToAPhoneThatSpeaksIceCarriesAudioBothWays) {
    const QString audioPort = phone->dir.filePath("far-end-audio-port");
    qputenv("NAT_FAR_END_SERVER", server->address().toUtf8());
    qputenv("NAT_FAR_END_AUDIO_PORT_FILE", audioPort.toUtf8());
    QProcess farPhone;
    farPhone.start("ip",
                   {"netns", "exec", net.name("provider"), "setpriv", "--pdeathsig", "KILL",
                    QCoreApplication::applicationFilePath(), "--gtest_also_run_disabled_tests",
                    "--gtest_filter=NatFarEnd.DISABLED_AnswersACall"});
    ASSERT_TRUE(waitUntil(
        [&] { return server->contacts("1002") > 0 && !fileBytes(audioPort).isEmpty(); }, 15000));
    ASSERT_TRUE(net.countMediaAt(fileBytes(audioPort).toInt())) << net.failure().toStdString();
    phone->dial("1002");
    ASSERT_TRUE(phone->shows("CONNECTED"));
    EXPECT_TRUE(audioFlows());
    EXPECT_GT(net.packets("stun"), 0);
    phone->click("endButton");
    EXPECT_TRUE(farPhone.waitForFinished(15000) && farPhone.exitCode() == 0)
        << farPhone.readAllStandardOutput().toStdString();
}

}  // namespace
}  // namespace softphone::test
