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
    void SetUp() override { phone.startRegistered(); }
    void raise(S state, const std::shared_ptr<Session>& session) {
        session->now = state;
        phone.engine->raise(state, session);
    }
    // A call that rings, as the engine reports it.
    std::shared_ptr<Session> ring() {
        auto session = std::make_shared<Session>(*phone.calls);
        raise(S::Incoming, session);
        return session;
    }
    // An outgoing call in `state`.
    std::shared_ptr<Session> Call(S state) {
        phone.dial("15551234567");
        raise(state, phone.engine->lastSession);
        return phone.engine->lastSession;
    }
    // Whether Dial, End and the number field are enabled.
    std::vector<bool> controls() {
        HandsetWindow& w = phone.window;
        return {w.dialButton->isEnabled(), w.endButton->isEnabled(), w.numberBox->isEnabled()};
    }
    QString number() const { return phone.window.numberBox->currentText(); }

    FakePhone phone;
};

TEST_F(CallStateTest, OneCallAtATime) {
    for (S live : {S::Incoming, S::InProgress, S::Connected}) {
        SCOPED_TRACE(int(live));
        auto session = live == S::Incoming ? ring() : Call(live);
        EXPECT_EQ(controls(), std::vector<bool>({live == S::Incoming, true, live == S::Incoming}));
        // A registration refresh overwrites the status line during the call.
        phone.engine->reportRegistration(RegistrationState::Registered);
        const QString status = phone.status();
        phone.calls->clear();
        // Enter in the number field and Dial place no second call; Dial answers a ringing one.
        phone.window.numberBox->setEditText("15551234567");
        QTest::keyClick(phone.window.numberBox, Qt::Key_Return);
        phone.window.onDialClicked();
        waitUntil([&] { return !phone.phone.dialling(); });
        const QStringList answer{"Answer", "PlayRing 0"};
        EXPECT_EQ(*phone.calls, live == S::Incoming ? answer : QStringList());
        // A further caller hears busy and the live call is untouched.
        phone.calls->clear();
        raise(S::Disconnected, ring());
        EXPECT_EQ(*phone.calls, QStringList({"Terminate busy"}));
        EXPECT_EQ(phone.phone.session(), session);
        EXPECT_EQ(phone.status(), status);
        raise(S::Disconnected, session);
        EXPECT_EQ(controls(), std::vector<bool>({true, false, true}));
    }
}

TEST_F(CallStateTest, ACallerWhileANumberIsDialledHearsBusy) {
    phone.window.numberBox->setEditText("15551234567");
    phone.window.onDialClicked();
    ASSERT_TRUE(phone.phone.dialling());
    phone.window.onDialClicked();  // pressed twice
    ring();
    EXPECT_TRUE(phone.calls->contains("Terminate busy"));
    waitUntil([&] { return !phone.phone.dialling(); });
    EXPECT_EQ(phone.calls->count("CreateSession via account"), 1);
}

// Not registered, Dial and Enter in the number field (from ten characters) only show the box.
TEST_F(CallStateTest, NotRegisteredOnlyShowsTheBox) {
    phone.engine->reportRegistration(RegistrationState::Rejected);
    phone.dial("15551234567");
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
        phone.dial("15551234567");
        phone.engine->*fail = false;
        EXPECT_EQ(phone.status(), status);
        EXPECT_EQ(controls(), std::vector<bool>({true, false, true}));
        EXPECT_FALSE(phone.phone.session());
    }
    auto session = ring();
    EXPECT_EQ(phone.status(), "INCOMING");
    session->failAnswer = true;
    phone.window.onDialClicked();
    EXPECT_EQ(phone.status(), "Error:  9004");
    EXPECT_EQ(phone.calls->last(), "PlayRing 0");
    session->failTerminate = true;
    phone.calls->clear();
    phone.window.onEndClicked();
    EXPECT_EQ(*phone.calls, QStringList({"Terminate reject", "PlayRing 0"}));
    EXPECT_EQ(phone.status(), "Error:  No call");
    EXPECT_FALSE(phone.phone.findChild<QTimer*>("ringRepeat")->isActive()) << "the ring repeats";
}

// The caller is known by number (the window showing it is in CallTest).
TEST(CallerNumber, TheUserPartDecodedOrTheWholeAddress) {
    EXPECT_EQ(callerNumber("sip:5557002@10.0.0.1:5070;transport=udp"), "5557002");
    EXPECT_EQ(callerNumber("sips:%2B4930123@gw.example"), "+4930123");
    EXPECT_EQ(callerNumber("sip:gw.example"), "sip:gw.example");
}

// The dial pad in its reading order types its character and sounds its tone (DTMF once
// connected is in CallTest). The call is recorded with its length. Back then takes the last
// character off and Clear the rest, neither with a sound.
TEST_F(CallStateTest, DialPadCallLengthBackAndClear) {
    Call(S::InProgress);
    phone.player.played.clear();
    for (PictureButton* key : phone.window.dialKeys) emit key->clicked();
    EXPECT_EQ(number(), "15551234567123456789*0#");
    EXPECT_EQ(phone.player.played.join(',').remove("tone Tone").remove(".wav"),
              "1,2,3,4,5,6,7,8,9,star,0,pnd");
    raise(S::Connected, phone.engine->lastSession);
    for (int i = 0; i < 65; ++i) phone.phone.onCallClockTick();
    EXPECT_EQ(phone.status(), "CONNECTED 0:1:5");
    phone.window.onEndClicked();
    EXPECT_EQ(readRecentCalls().value(0), "15551234567123456789*0#--Duration: 0:1:5");
    phone.player.played.clear();
    emit phone.window.backButton->clicked();
    EXPECT_EQ(number(), "15551234567123456789*0");
    emit phone.window.clearButton->clicked();
    EXPECT_EQ(number(), "");
    EXPECT_EQ(phone.status(), "Ready...");
    EXPECT_TRUE(phone.player.played.isEmpty());
}

// While the window is in the tray a ringing call is announced; missed calls (a caller who gave
// up, one sent away busy) are counted on the icon until the window comes back or the call
// history is opened.
TEST_F(CallStateTest, RingingAndMissedCallsShowOnTheTrayIcon) {
    auto first = ring();
    EXPECT_TRUE(phone.desk.tray->messages.isEmpty()) << "announced with the window shown";
    phone.window.onEndClicked();  // rejected, not missed
    raise(S::Disconnected, first);
    phone.window.onHideClicked();
    raise(S::Disconnected, ring());  // the caller gives up
    EXPECT_EQ(phone.desk.tray->messages, QStringList({"Softphone: Incoming call from 5557002"}));
    auto live = Call(S::Connected);
    raise(S::Disconnected, ring());  // sent away busy
    EXPECT_EQ(phone.desk.tray->tip, "Softphone - 2 missed calls");
    phone.desk.tray->activate(TrayActivation::DoubleClick);
    phone.window.onHideClicked();
    EXPECT_EQ(phone.desk.tray->tip, "Softphone");
    raise(S::Disconnected, live);
    raise(S::Disconnected, ring());
    EXPECT_EQ(phone.desk.tray->tip, "Softphone - 1 missed call");
    emit phone.window.recentButton->clicked();
    EXPECT_EQ(phone.desk.tray->tip, "Softphone");
}

}  // namespace
}  // namespace softphone::test
