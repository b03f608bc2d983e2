// Calls through kamailio to far ends that behave like real telephone gateways: the states the
// window walks through, its controls afterwards, and a second caller in the meantime.
#include <gtest/gtest.h>

#include <QComboBox>

#include "support/PictureButton.h"
#include "tests/support/Phone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

struct Gateway {
    const char* name;
    const char* scenario;       // or, for a refusal, its status line
    QStringList args;           // or, for a refusal, its silence before it
    QStringList seen;           // status lines after each session event, repeats folded
    bool userEnds = false;      // the caller presses End once the last state before it is seen
    bool secondCaller = false;  // someone calls the phone before the far end decides
};

const QStringList kRefused{"INPROGRESS", "DISCONNECTED"};
const QStringList kAnswered{"INPROGRESS", "CONNECTED", "DISCONNECTED"};

TEST(GatewayTest, EveryFarEndWalksTheWindowThroughItsStates) {
    const Gateway gateways[] = {
        {"answers at once", "answer-at-once.xml", {}, kAnswered, true, true},
        {"silent, then busy", "486 Busy Here", {"2500"}, kRefused, false, true},
        {"forbidden at once", "403 Forbidden", {"0"}, kRefused},
        {"unknown number", "404 Not Found", {"0"}, kRefused},
        {"declined at once", "603 Decline", {"0"}, kRefused},
        {"never answers", "silent.xml", {"-d", "30000"}, kRefused, true, true},
        {"early media, then answer", "early-media.xml", {"-d", "2500"}, kAnswered, true, true},
    };
    Sipp farEnds[std::size(gateways)];
    QList<SipServer::Route> routes;
    for (size_t i = 0; i < std::size(gateways); ++i) {
        const QString scenario = gateways[i].scenario;
        ASSERT_TRUE(scenario.endsWith(".xml")
                        ? farEnds[i].Run(scenario, gateways[i].args)
                        : farEnds[i].Refuse(scenario, gateways[i].args[0].toInt()));
        routes.append({QStringLiteral("555000%1").arg(i), farEnds[i].Uri()});
    }
    SipServer server({{"1001", "secret"}}, routes);
    ASSERT_TRUE(server.Start());
    Phone phone;
    phone.Start({server.Address(), "1001", "secret"});
    ASSERT_TRUE(WaitUntil([&] { return phone.Registered(); }));
    HandsetWindow& window = phone.window;

    QStringList seen;
    QObject::connect(&phone.phone, &PhoneController::statusChanged, [&](const QString& status) {
        if (!status.startsWith("CONNECTED ") && (seen.isEmpty() || seen.last() != status))
            seen << status;
    });

    for (size_t i = 0; i < std::size(gateways); ++i) {
        const Gateway& g = gateways[i];
        SCOPED_TRACE(g.name);
        seen.clear();
        phone.desk.notifications.clear();
        phone.Dial(routes[qsizetype(i)].number);
        if (g.secondCaller) {
            ASSERT_TRUE(WaitUntil([&] { return phone.phone.Session() != nullptr; }));
            const auto live = phone.phone.Session();
            Sipp second;
            ASSERT_TRUE(second.Call(server.Address(), "1001"));
            EXPECT_TRUE(second.Finished());
            EXPECT_TRUE(second.Trace().contains("SIP/2.0 486")) << second.Trace().toStdString();
            EXPECT_EQ(phone.phone.Session(), live);
            EXPECT_EQ(phone.desk.notifications, QStringList{"Softphone: Missed call from caller"});
        }
        if (g.userEnds) {
            const QString before = g.seen[g.seen.size() - 2];
            ASSERT_TRUE(WaitUntil([&] { return seen.endsWith(before); }, 8000))
                << phone.Status().toStdString();
            window.OnEndClicked();
        }
        EXPECT_TRUE(WaitUntil([&] { return seen.endsWith("DISCONNECTED"); }, 8000))
            << phone.Status().toStdString() << "\n"
            << farEnds[i].Trace().toStdString();
        EXPECT_EQ(seen, g.seen);
        EXPECT_FALSE(phone.phone.Session());
        EXPECT_TRUE(window.dialButton->isEnabled());
        EXPECT_FALSE(window.endButton->isEnabled());
        EXPECT_TRUE(window.numberBox->isEnabled());
    }
}

}  // namespace
}  // namespace softphone::test
