// Calls with the real engine through a real kamailio to and from sipp far ends.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>

#include "records/RecentCalls.h"
#include "tests/support/Phone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

const QString kNumber = QStringLiteral("15550001111");    // through the account
const QString kTenDigits = QStringLiteral("5550001111");  // without it
const QString kRing = QStringLiteral("file /usr/share/sounds/linphone/rings/oldphone-mono.wav");

class CallTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(RecentCallsPath());
        ASSERT_TRUE(farEnd.Answer(rtp.Port()));
        ASSERT_TRUE(server.Start());
        phone.Start({server.Address(), "1001", "secret"});
        ASSERT_TRUE(WaitUntil([&] { return phone.Registered(); }));
    }

    RtpListener rtp;
    Sipp farEnd;
    SipServer server{{{"1001", "secret"}}, {{kNumber, farEnd.Uri()}, {kTenDigits, farEnd.Uri()}}};
    Phone phone;
};

TEST_F(CallTest, OutgoingCallConnectsSendsDtmfAndEndsWithBye) {
    phone.Dial(kNumber);
    ASSERT_TRUE(WaitUntil([&] { return phone.Connected(); })) << farEnd.Trace().toStdString();
    EXPECT_TRUE(WaitUntil([&] { return rtp.AudioPackets() > 10; })) << "the far end hears nothing";

    phone.player.played.clear();
    for (int key : {0, 9, 11, 10}) {  // "1", "*", "#", "0", at a person's pace
        phone.window.OnDialKeyClicked(key);
        Pump(250);
    }
    EXPECT_TRUE(WaitUntil([&] { return rtp.Digits() == "1*#0"; })) << rtp.Digits().toStdString();
    EXPECT_TRUE(phone.player.played.isEmpty()) << "no local tone during a call";

    ASSERT_TRUE(WaitUntil([&] { return phone.Status().startsWith("CONNECTED 0:0:"); }));
    phone.window.OnEndClicked();
    EXPECT_TRUE(WaitUntil([&] { return phone.Status() == "DISCONNECTED"; }));
    EXPECT_TRUE(farEnd.Finished()) << farEnd.Trace().toStdString();
    EXPECT_TRUE(ReadRecentCalls().value(0).startsWith((kNumber + "1*#0--Duration: 0:0:").toUtf8()));
}

TEST_F(CallTest, TenDigitsReachTheServerWithoutTheAccount) {
    phone.Dial(kTenDigits);
    ASSERT_TRUE(WaitUntil([&] { return phone.Connected(); }));
    phone.window.OnEndClicked();
    ASSERT_TRUE(farEnd.Finished());
    const QString invite = farEnd.Trace().section("INVITE sip:", 1, 1);
    EXPECT_FALSE(invite.isEmpty());
    EXPECT_FALSE(invite.contains("Authorization", Qt::CaseInsensitive)) << invite.toStdString();
    EXPECT_FALSE(invite.contains(QRegularExpression("From:[^\\n]*1001"))) << invite.toStdString();
}

// A caller answered, declined, or giving up while the window is in the tray: what the far end
// hears, the call history, and the notices of a missed call.
TEST_F(CallTest, IncomingCallsRingAndEndAsTheUserChooses) {
    enum class Press { Dial, End, Nothing };
    const struct {
        const char* name;
        Press press;
        const char* farEndHears;
        QByteArray history;  // the call history's line, if the call is written there
        QStringList notifications;
    } cases[] = {
        // The history is written when the user presses End; here the caller hangs up.
        {"answered", Press::Dial, "SIP/2.0 200", {}, {}},
        // Declined after an answered call: recorded as 0:0:0, not as the last call's length.
        {"declined", Press::End, "SIP/2.0 603", "caller--Duration: 0:0:0", {}},
        {"caller gives up",
         Press::Nothing,
         "SIP/2.0 487",
         "5557002--Duration: 0:0:0",
         {"Softphone: Missed call from 5557002"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(RecentCallsPath());
        phone.player.played.clear();
        phone.desk.notifications.clear();
        Sipp caller;
        if (c.press == Press::Nothing) {
            phone.window.OnHideClicked();
            ASSERT_TRUE(caller.CallAndGiveUp(server.Address(), "1001", 1000));
        } else {
            ASSERT_TRUE(caller.Call(server.Address(), "1001", 1500));
        }
        ASSERT_TRUE(WaitUntil([&] { return phone.Status() == "INCOMING"; }));
        EXPECT_TRUE(phone.player.played.contains(kRing));
        if (c.press == Press::Dial) {
            phone.window.OnDialClicked();
            EXPECT_TRUE(WaitUntil([&] { return phone.Connected(); }));
        }
        if (c.press == Press::End) phone.window.OnEndClicked();
        EXPECT_TRUE(WaitUntil([&] { return phone.Status() == "DISCONNECTED"; }));
        EXPECT_TRUE(caller.Finished()) << caller.Trace().toStdString();
        EXPECT_TRUE(caller.Trace().contains(c.farEndHears)) << caller.Trace().toStdString();
        EXPECT_TRUE(phone.player.played.endsWith("stop")) << "the ring goes with the call";
        const QList<QByteArray> history = ReadRecentCalls();
        ASSERT_EQ(history.size(), c.history.isEmpty() ? 0 : 1);
        EXPECT_TRUE(history.value(0).startsWith(c.history)) << history.value(0).data();
        EXPECT_EQ(phone.desk.notifications, c.notifications);
        EXPECT_EQ(phone.desk.tray && phone.desk.tray->tip == "Softphone - 1 missed call",
                  !c.notifications.isEmpty());
    }
}

TEST_F(CallTest, AfterADialThatFailedTheNextCallerRings) {
    // The user reads each "Numbers 0 to 9 only" box for a while before closing it.
    phone.messages.whileShown = [] { Pump(400); };
    phone.Dial("Home");
    EXPECT_EQ(phone.messages.shown.size(), 4u);
    EXPECT_TRUE(WaitUntil([&] { return phone.Status() == "DISCONNECTED"; }));  // 404 from the proxy
    Sipp caller;
    ASSERT_TRUE(caller.Call(server.Address(), "1001"));
    EXPECT_TRUE(WaitUntil([&] { return phone.Status() == "INCOMING"; }))
        << phone.Status().toStdString() << caller.Trace().toStdString();
    EXPECT_EQ(phone.window.numberBox->currentText(), "caller");
    phone.window.OnEndClicked();
    EXPECT_TRUE(caller.Finished());
}

}  // namespace
}  // namespace softphone::test
