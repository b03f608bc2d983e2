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

bool Connected(Phone& phone) { return phone.Status().startsWith("CONNECTED"); }

class CallTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(RecentCallsPath());
        ASSERT_TRUE(farEnd.Answer({"-key", "rtpport", QString::number(rtp.Port())}));
        server = std::make_unique<SipServer>(
            QList<SipServer::Account>{{"1001", "secret"}},
            QList<SipServer::Route>{{kNumber, farEnd.Uri()}, {kTenDigits, farEnd.Uri()}});
        ASSERT_TRUE(server->Start());
        phone.Start({server->Address(), "1001", "secret"});
        ASSERT_TRUE(WaitUntil([&] { return phone.Registered(); }));
    }

    void Dial(const QString& number) { phone.Dial(number); }

    RtpListener rtp;
    Sipp farEnd;
    std::unique_ptr<SipServer> server;
    Phone phone;
};

TEST_F(CallTest, OutgoingCallConnectsSendsDtmfAndEndsWithBye) {
    Dial(kNumber);
    ASSERT_TRUE(WaitUntil([&] { return Connected(phone); })) << phone.Status().toStdString() << "\n"
                                                             << farEnd.Trace().toStdString();
    EXPECT_TRUE(WaitUntil([&] { return rtp.AudioPackets() > 10; })) << "the far end hears nothing";

    phone.player.played.clear();
    for (int key : {0, 9, 11, 10}) {  // "1", "*", "#", "0"
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
    Dial(kTenDigits);
    ASSERT_TRUE(WaitUntil([&] { return Connected(phone); }));
    phone.window.OnEndClicked();
    ASSERT_TRUE(farEnd.Finished());
    const QString invite = farEnd.Trace().section("INVITE sip:", 1, 1);
    EXPECT_FALSE(invite.isEmpty());
    EXPECT_FALSE(invite.contains("Authorization", Qt::CaseInsensitive)) << invite.toStdString();
    EXPECT_FALSE(invite.contains(QRegularExpression("From:[^\\n]*1001"))) << invite.toStdString();
}

TEST_F(CallTest, IncomingCallRingsAndIsAnswered) {
    Sipp caller;
    ASSERT_TRUE(caller.Call(server->Address(), "1001", 1500));
    ASSERT_TRUE(WaitUntil([&] { return phone.Status() == "INCOMING"; }));
    EXPECT_TRUE(phone.player.played.contains(kRing));
    phone.window.OnDialClicked();
    EXPECT_TRUE(WaitUntil([&] { return Connected(phone); }));
    // The caller hangs up after a while.
    EXPECT_TRUE(WaitUntil([&] { return phone.Status() == "DISCONNECTED"; }));
    EXPECT_TRUE(caller.Finished()) << caller.Trace().toStdString();
}

TEST_F(CallTest, IncomingCallRejectedWithDecline) {
    Sipp caller;
    ASSERT_TRUE(caller.Call(server->Address(), "1001"));
    ASSERT_TRUE(WaitUntil([&] { return phone.Status() == "INCOMING"; }));
    phone.window.OnEndClicked();
    EXPECT_TRUE(caller.Finished());
    EXPECT_TRUE(caller.Trace().contains("SIP/2.0 603")) << caller.Trace().toStdString();
    EXPECT_TRUE(WaitUntil([&] { return phone.Status() == "DISCONNECTED"; }));
    EXPECT_TRUE(phone.player.played.endsWith("stop"));
    EXPECT_EQ(ReadRecentCalls().size(), 1) << "a rejected call is no missed call";
    EXPECT_TRUE(phone.desk.notifications.isEmpty());
}

TEST_F(CallTest, ACallerWhoGivesUpIsAMissedCall) {
    phone.window.OnHideClicked();  // away into the tray
    Sipp caller;
    ASSERT_TRUE(caller.CallAndGiveUp(server->Address(), "1001", 1000));
    ASSERT_TRUE(WaitUntil([&] { return phone.Status() == "INCOMING"; }));
    EXPECT_TRUE(caller.Finished()) << caller.Trace().toStdString();
    EXPECT_TRUE(WaitUntil([&] { return phone.Status() == "DISCONNECTED"; }));
    EXPECT_EQ(ReadRecentCalls(), QList<QByteArray>{"5557002--Duration: 0:0:0"});
    EXPECT_EQ(phone.desk.notifications, QStringList{"Softphone: Missed call from 5557002"});
    EXPECT_EQ(phone.desk.tray->tip, "Softphone - 1 missed call");
    EXPECT_TRUE(phone.player.played.endsWith("stop")) << "the ring goes with the caller";
}

TEST_F(CallTest, AfterADialThatFailedTheNextCallerRings) {
    // The user reads each "Numbers 0 to 9 only" box for a while before closing it.
    phone.messages.whileShown = [] { Pump(400); };
    Dial("Home");
    EXPECT_EQ(phone.messages.shown.size(), 4u);
    EXPECT_TRUE(WaitUntil([&] { return phone.Status() == "DISCONNECTED"; }));  // 404 from the proxy
    Sipp caller;
    ASSERT_TRUE(caller.Call(server->Address(), "1001"));
    EXPECT_TRUE(WaitUntil([&] { return phone.Status() == "INCOMING"; }))
        << phone.Status().toStdString() << caller.Trace().toStdString();
    EXPECT_EQ(phone.window.numberBox->currentText(), "caller");
    phone.window.OnEndClicked();
    EXPECT_TRUE(caller.Finished());
    EXPECT_TRUE(ReadRecentCalls().value(0).startsWith("caller--Duration: 0:0:0"));
}

TEST_F(CallTest, SecondCallerDuringACallHearsBusy) {
    Dial(kNumber);
    ASSERT_TRUE(WaitUntil([&] { return Connected(phone); }));
    auto live = phone.phone.Session();

    Sipp second;
    ASSERT_TRUE(second.Call(server->Address(), "1001"));
    EXPECT_TRUE(second.Finished());
    EXPECT_TRUE(second.Trace().contains("SIP/2.0 486")) << second.Trace().toStdString();
    EXPECT_EQ(phone.phone.Session(), live);
    EXPECT_TRUE(Connected(phone));
    EXPECT_EQ(ReadRecentCalls(), QList<QByteArray>{"caller--Duration: 0:0:0"});
    EXPECT_EQ(phone.desk.notifications, QStringList{"Softphone: Missed call from caller"});

    phone.window.OnEndClicked();
    EXPECT_TRUE(farEnd.Finished());
}

}  // namespace
}  // namespace softphone::test
