// Calls through the phone and its handset over a fake engine: what the real engine cannot be
// made to do on loopback (throw, race the dial), and the handset's own rules.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "app/CallerNumber.h"
#include "records/RecentCalls.h"
#include "support/PictureButton.h"
#include "tests/support/FakePhone.h"

namespace softphone::test {
namespace {

using Session = FakeEngine::Session;
using S = SessionState;

class CallStateTest : public ::testing::Test {
protected:
    void SetUp() override { phone.StartRegistered(); }
    void Raise(S state, const std::shared_ptr<Session>& session) {
        session->state = state;
        phone.engine->Raise(state, session);
    }
    // A call that rings, as the engine reports it.
    std::shared_ptr<Session> Ring() {
        auto session = std::make_shared<Session>(*phone.calls);
        Raise(S::Incoming, session);
        return session;
    }
    // An outgoing call in `state`.
    std::shared_ptr<Session> Call(S state) {
        phone.Dial("15551234567");
        Raise(state, phone.engine->lastSession);
        return phone.engine->lastSession;
    }
    // Whether Dial, End and the number field are enabled.
    std::vector<bool> Controls() {
        HandsetWindow& w = phone.window;
        return {w.dialButton->isEnabled(), w.endButton->isEnabled(), w.numberBox->isEnabled()};
    }
    QString Number() const { return phone.window.numberBox->currentText(); }

    FakePhone phone;
};

TEST_F(CallStateTest, OneCallAtATime) {
    for (S live : {S::Incoming, S::InProgress, S::Connected}) {
        SCOPED_TRACE(int(live));
        auto session = live == S::Incoming ? Ring() : Call(live);
        EXPECT_EQ(Controls(), std::vector<bool>({live == S::Incoming, true, live == S::Incoming}));
        // A registration refresh overwrites the status line during the call.
        phone.engine->Register(RegistrationState::Registered);
        const QString status = phone.Status();
        phone.calls->clear();
        // Enter in the number field and Dial place no second call; Dial answers a ringing one.
        phone.window.numberBox->setEditText("15551234567");
        QTest::keyClick(phone.window.numberBox, Qt::Key_Return);
        phone.window.OnDialClicked();
        WaitUntil([&] { return !phone.phone.Dialling(); });
        const QStringList answer{"Answer", "PlayRing 0"};
        EXPECT_EQ(*phone.calls, live == S::Incoming ? answer : QStringList());
        // A further caller hears busy and the live call is untouched.
        phone.calls->clear();
        Raise(S::Disconnected, Ring());
        EXPECT_EQ(*phone.calls, QStringList({"Terminate busy"}));
        EXPECT_EQ(phone.phone.Session(), session);
        EXPECT_EQ(phone.Status(), status);
        Raise(S::Disconnected, session);
        EXPECT_EQ(Controls(), std::vector<bool>({true, false, true}));
    }
}

TEST_F(CallStateTest, ACallerWhileANumberIsDialledHearsBusy) {
    phone.window.numberBox->setEditText("15551234567");
    phone.window.OnDialClicked();
    ASSERT_TRUE(phone.phone.Dialling());
    phone.window.OnDialClicked();  // pressed twice
    Ring();
    EXPECT_TRUE(phone.calls->contains("Terminate busy"));
    WaitUntil([&] { return !phone.phone.Dialling(); });
    EXPECT_EQ(phone.calls->count("CreateSession via account"), 1);
}

// Not registered, Dial and Enter in the number field (from ten characters) only show the box.
TEST_F(CallStateTest, NotRegisteredOnlyShowsTheBox) {
    phone.engine->Register(RegistrationState::Rejected);
    phone.Dial("15551234567");
    phone.window.numberBox->setEditText("1234567890");
    QTest::keyClick(phone.window.numberBox, Qt::Key_Return);
    EXPECT_EQ(phone.messages.shown,
              QStringList(2, "Sorry, you are not registered, please select Menu - LoginAs"));
    EXPECT_TRUE(phone.calls->isEmpty());
    EXPECT_TRUE(phone.player.played.isEmpty());
}

// The engine refusing to create, place, answer or reject a call: its error shows, no ring is left
// behind, and the next caller rings.
TEST_F(CallStateTest, EngineErrorsShowAndLeaveTheHandsetIdle) {
    for (auto [fail, status] : {std::pair{&FakeEngine::failCreateSession, "Error:  9003"},
                                std::pair{&FakeEngine::failCall, "Error:  486"}}) {
        phone.engine->*fail = true;
        phone.Dial("15551234567");
        phone.engine->*fail = false;
        EXPECT_EQ(phone.Status(), status);
        EXPECT_EQ(Controls(), std::vector<bool>({true, false, true}));
        EXPECT_FALSE(phone.phone.Session());
    }
    auto session = Ring();
    EXPECT_EQ(phone.Status(), "INCOMING");
    session->failAnswer = true;
    phone.window.OnDialClicked();
    EXPECT_EQ(phone.Status(), "Error:  9004");
    EXPECT_EQ(phone.calls->last(), "PlayRing 0");
    session->failTerminate = true;
    phone.calls->clear();
    phone.window.OnEndClicked();
    EXPECT_EQ(*phone.calls, QStringList({"Terminate reject", "PlayRing 0"}));
    EXPECT_EQ(phone.Status(), "Error:  No call");
    EXPECT_FALSE(phone.phone.findChild<QTimer*>("ringRepeat")->isActive()) << "the ring repeats";
}

// The caller is known by number (the window showing it is in CallTest).
TEST(CallerNumber, TheUserPartDecodedOrTheWholeAddress) {
    EXPECT_EQ(CallerNumber("sip:5557002@10.0.0.1:5070;transport=udp"), "5557002");
    EXPECT_EQ(CallerNumber("sips:%2B4930123@gw.example"), "+4930123");
    EXPECT_EQ(CallerNumber("sip:gw.example"), "sip:gw.example");
}

// The dial pad in its reading order types its character and sounds its tone (DTMF once
// connected is in CallTest). The call is recorded with its length. Back then takes the last
// character off and Clear the rest, neither with a sound.
TEST_F(CallStateTest, DialPadCallLengthBackAndClear) {
    Call(S::InProgress);
    phone.player.played.clear();
    for (PictureButton* key : phone.window.dialKeys) emit key->clicked();
    EXPECT_EQ(Number(), "15551234567123456789*0#");
    EXPECT_EQ(phone.player.played.join(',').remove("tone Tone").remove(".wav"),
              "1,2,3,4,5,6,7,8,9,star,0,pnd");
    Raise(S::Connected, phone.engine->lastSession);
    for (int i = 0; i < 65; ++i) phone.phone.OnCallClockTick();
    EXPECT_EQ(phone.Status(), "CONNECTED 0:1:5");
    phone.window.OnEndClicked();
    EXPECT_EQ(ReadRecentCalls().value(0), "15551234567123456789*0#--Duration: 0:1:5");
    phone.player.played.clear();
    emit phone.window.backButton->clicked();
    EXPECT_EQ(Number(), "15551234567123456789*0");
    emit phone.window.clearButton->clicked();
    EXPECT_EQ(Number(), "");
    EXPECT_EQ(phone.Status(), "Ready...");
    EXPECT_TRUE(phone.player.played.isEmpty());
}

// While the window is in the tray a ringing call is announced; missed calls (a caller who gave
// up, one sent away busy) are counted on the icon until the window comes back or the call
// history is opened.
TEST_F(CallStateTest, RingingAndMissedCallsShowOnTheTrayIcon) {
    auto first = Ring();
    EXPECT_TRUE(phone.desk.tray->messages.isEmpty()) << "announced with the window shown";
    phone.window.OnEndClicked();  // rejected, not missed
    Raise(S::Disconnected, first);
    phone.window.OnHideClicked();
    Raise(S::Disconnected, Ring());  // the caller gives up
    EXPECT_EQ(phone.desk.tray->messages, QStringList({"Softphone: Incoming call from 5557002"}));
    auto live = Call(S::Connected);
    Raise(S::Disconnected, Ring());  // sent away busy
    EXPECT_EQ(phone.desk.tray->tip, "Softphone - 2 missed calls");
    phone.desk.tray->Activate(TrayActivation::DoubleClick);
    phone.window.OnHideClicked();
    EXPECT_EQ(phone.desk.tray->tip, "Softphone");
    Raise(S::Disconnected, live);
    Raise(S::Disconnected, Ring());
    EXPECT_EQ(phone.desk.tray->tip, "Softphone - 1 missed call");
    emit phone.window.recentButton->clicked();
    EXPECT_EQ(phone.desk.tray->tip, "Softphone");
}

}  // namespace
}  // namespace softphone::test
