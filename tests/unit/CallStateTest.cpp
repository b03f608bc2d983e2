// Calls through the phone and its handset over a fake engine: states, controls, errors, records.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "records/RecentCalls.h"
#include "support/PictureButton.h"
#include "tests/support/FakePhone.h"

namespace softphone::test {
namespace {

using Session = FakeEngine::Session;
using S = SessionState;

class CallStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(RecentCallsPath());
        phone.StartRegistered();
    }
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
        auto session = phone.engine->lastSession;
        Raise(state, session);
        return session;
    }
    // Enabled state of call, clear, back, wizard, end, number field.
    std::vector<bool> Controls() {
        HandsetWindow& w = phone.window;
        return {w.dialButton->isEnabled(),   w.clearButton->isEnabled(), w.backButton->isEnabled(),
                w.tuningButton->isEnabled(), w.endButton->isEnabled(),   w.numberBox->isEnabled()};
    }
    QString Number() const { return phone.window.numberBox->currentText(); }

    const std::vector<bool> kIdle{true, true, true, true, false, true};
    const std::vector<bool> kRinging{true, true, true, true, true, true};
    const std::vector<bool> kInCall{false, false, false, true, true, false};

    FakePhone phone;
};

TEST_F(CallStateTest, OutgoingCallRunsThroughItsStates) {
    phone.Dial("15551234567");
    EXPECT_EQ(Controls(), kInCall);
    auto session = phone.engine->lastSession;
    ASSERT_EQ(phone.phone.Session(), session);
    Raise(S::InProgress, session);
    EXPECT_EQ(phone.Status(), "INPROGRESS");
    Raise(S::Connected, session);
    EXPECT_EQ(phone.Status(), "CONNECTED");
    EXPECT_EQ(Controls(), kInCall);
    phone.phone.OnCallClockTick();
    EXPECT_EQ(phone.Status(), "CONNECTED 0:0:1");
    Raise(S::Disconnected, session);
    EXPECT_EQ(phone.Status(), "DISCONNECTED");
    EXPECT_FALSE(phone.phone.Session());
    EXPECT_EQ(Controls(), kIdle);
    Raise(S::Idle, session);
    EXPECT_EQ(phone.Status(), "DISCONNECTED") << "events of a finished call change nothing";
}

TEST_F(CallStateTest, ARingingCallIsAnnouncedOnlyWhileTheWindowIsInTheTray) {
    Raise(S::Disconnected, Ring());
    ASSERT_TRUE(phone.desk.tray);
    EXPECT_TRUE(phone.desk.tray->messages.isEmpty());
    phone.window.OnHideClicked();  // away into the tray
    Ring();
    EXPECT_EQ(phone.desk.tray->messages, QStringList({"Softphone: Incoming call from 5557002"}));
}

TEST_F(CallStateTest, TheCallerIsShownAndRecordedWhetherAnsweredOrRejected) {
    struct Case {
        const char* address;
        const char* number;
        bool answer;
    };
    for (Case c : {Case{"sip:5557002@10.0.0.1:5070;transport=udp", "5557002", true},
                   Case{"sips:%2B4930123@gw.example", "+4930123", false},
                   Case{"sip:gw.example", "sip:gw.example", false}}) {
        phone.window.numberBox->setEditText("999");  // typed before the call came
        auto session = std::make_shared<Session>(*phone.calls);
        session->remoteParty = c.address;
        Raise(S::Incoming, session);
        EXPECT_EQ(Number(), c.number);
        if (c.answer) {
            phone.window.OnDialClicked();
            Raise(S::Connected, session);
        }
        phone.window.OnEndClicked();
        EXPECT_TRUE(ReadRecentCalls().value(0).startsWith(QByteArray(c.number) + "--Duration:"))
            << c.address;
        Raise(S::Disconnected, session);
    }
    EXPECT_TRUE(phone.desk.notifications.isEmpty()) << "answered or rejected, none is missed";
}

TEST_F(CallStateTest, EngineFailuresToAnswerOrRejectLeaveNoRingBehind) {
    auto session = Ring();
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

TEST_F(CallStateTest, OneCallAtATime) {
    for (S live : {S::Incoming, S::InProgress, S::Connected}) {
        SCOPED_TRACE(int(live));
        auto session = live == S::Incoming ? Ring() : Call(live);
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
        // A further caller hears busy, is recorded as missed, and the live call is untouched.
        phone.calls->clear();
        auto second = Ring();
        EXPECT_EQ(*phone.calls, QStringList({"Terminate busy"}));
        EXPECT_EQ(phone.phone.Session(), session);
        EXPECT_EQ(phone.Status(), status);
        Raise(S::Disconnected, second);
        EXPECT_EQ(phone.phone.Session(), session);
        EXPECT_EQ(phone.Status(), status);
        Raise(S::Disconnected, session);
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
    EXPECT_EQ(phone.messages.Texts(),
              QStringList(2, "Sorry, you are not registered, please select Menu - LoginAs"));
    EXPECT_EQ(Number(), "1234567890");
    EXPECT_TRUE(phone.calls->isEmpty());
    EXPECT_TRUE(phone.player.played.isEmpty());
    EXPECT_EQ(Controls(), kIdle);
}

TEST_F(CallStateTest, LettersGiveOneBoxEachAndTheCallStillGoes) {
    phone.Dial("1a2 #");
    EXPECT_EQ(phone.messages.Texts(), QStringList(2, "Numbers 0 to 9 only, please!"));
    EXPECT_EQ(phone.messages.shown.back().title, "Input Error");
    EXPECT_EQ(phone.messages.shown.back().icon, MessageIcon::Exclamation);
    EXPECT_EQ(phone.player.played,
              QStringList({"tone Tone1.wav", "tone Tone2.wav", "tone Tonepnd.wav"}));
    EXPECT_TRUE(phone.calls->contains("Call sip:1a2 #@127.0.0.1:5070"));
}

TEST_F(CallStateTest, TenCharactersGoWithoutTheAccount) {
    for (const auto& [number, route] : {std::pair{"1234567890", "CreateSession direct"},
                                        std::pair{"123456789", "CreateSession via account"},
                                        std::pair{"12345678901", "CreateSession via account"}}) {
        phone.calls->clear();
        phone.Dial(number);
        EXPECT_TRUE(phone.calls->contains(route)) << number;
        EXPECT_EQ(phone.calls->last(), QStringLiteral("Call sip:%1@127.0.0.1:5070").arg(number));
        Raise(S::Disconnected, phone.engine->lastSession);
    }
}

// The call cannot be created, or it is created but cannot be placed: either way it is dropped
// with its error, and the next caller rings.
TEST_F(CallStateTest, ACallThatCannotStartShowsItsErrorAndReturnsToIdle) {
    for (auto [fail, status] : {std::pair{&FakeEngine::failCreateSession, "Error:  9003"},
                                std::pair{&FakeEngine::failCall, "Error:  486"}}) {
        phone.engine->*fail = true;
        phone.Dial("15551234567");
        phone.engine->*fail = false;
        EXPECT_EQ(phone.Status(), status);
        EXPECT_EQ(Controls(), kIdle);
        EXPECT_FALSE(phone.phone.Session());
    }
    Ring();
    EXPECT_EQ(phone.Status(), "INCOMING");
    EXPECT_EQ(Controls(), kRinging);
}

TEST_F(CallStateTest, EndWritesTheRecordThenRejectsOrHangsUp) {
    auto ringing = Ring();
    phone.window.numberBox->setEditText("123");
    phone.calls->clear();
    phone.window.OnEndClicked();
    EXPECT_EQ(*phone.calls, QStringList({"Terminate reject", "PlayRing 0"}));
    EXPECT_EQ(ReadRecentCalls().value(0), "123--Duration: 0:0:0");
    Raise(S::Disconnected, ringing);

    Call(S::Connected);
    for (int i = 0; i < 65; ++i) phone.phone.OnCallClockTick();
    phone.calls->clear();
    phone.window.OnEndClicked();
    EXPECT_EQ(*phone.calls, QStringList({"Terminate normal"}));
    EXPECT_EQ(ReadRecentCalls().value(0), "15551234567--Duration: 0:1:5");
}

TEST_F(CallStateTest, EndWithoutACallRecordsItAndShowsTheIdleControls) {
    phone.window.ShowControls(PhoneController::Controls::InCall);
    phone.window.numberBox->setEditText("");
    phone.window.OnEndClicked();
    EXPECT_EQ(ReadRecentCalls().value(0), "--Duration: 0:0:0");
    EXPECT_EQ(Controls(), kIdle);
}

// The dial pad in its reading order types its character; during a connected call it sends the
// key's DTMF event (star 10, pound 11), otherwise it sounds the key tone.
TEST_F(CallStateTest, DialPadSendsDtmfOnlyWhileConnected) {
    for (S state : {S::Connected, S::InProgress}) {
        auto session = Call(state);
        // The status line may say anything meanwhile: a registration refresh, say.
        phone.engine->Register(RegistrationState::Registered);
        phone.calls->clear();
        phone.player.played.clear();
        phone.window.numberBox->setEditText("9");
        for (PictureButton* key : phone.window.dialKeys) emit key->clicked();
        EXPECT_EQ(Number(), "9123456789*0#");
        if (state == S::Connected) {
            EXPECT_EQ(phone.calls->join(',').remove("SendDTMF "), "1,2,3,4,5,6,7,8,9,10,0,11");
            EXPECT_TRUE(phone.player.played.isEmpty());
        } else {
            EXPECT_TRUE(phone.calls->isEmpty()) << int(state);
            EXPECT_EQ(phone.player.played.join(',').remove("tone Tone").remove(".wav"),
                      "1,2,3,4,5,6,7,8,9,star,0,pnd");
        }
        Raise(S::Disconnected, session);
    }
}

TEST_F(CallStateTest, ClearAndBackspaceButtons) {
    phone.window.numberBox->setEditText("12");
    for (const char* left : {"1", "", ""}) {
        emit phone.window.backButton->clicked();
        EXPECT_EQ(Number(), left);
    }
    phone.window.numberBox->setEditText("123");
    emit phone.window.clearButton->clicked();
    EXPECT_EQ(Number(), "");
    EXPECT_EQ(phone.Status(), "Ready...");
    EXPECT_TRUE(phone.player.played.isEmpty());
}

// Missed calls (a caller who gave up, one sent away busy) are counted on the tray icon until the
// window comes back or the call history is opened.
TEST_F(CallStateTest, MissedCallsAreCountedOnTheTrayIconUntilSeen) {
    phone.window.OnHideClicked();    // away into the tray
    Raise(S::Disconnected, Ring());  // the caller gives up
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

TEST_F(CallStateTest, ThePhoneBookAndCallHistoryHandTheirNumberToTheField) {
    phone.windows.chosen = "5551234";
    emit phone.window.phoneBookButton->clicked();
    EXPECT_EQ(Number(), "5551234");
    phone.windows.chosen = std::nullopt;  // closed without CALL
    emit phone.window.recentButton->clicked();
    EXPECT_EQ(Number(), "5551234");
    phone.windows.chosen = "5550000";
    emit phone.window.recentButton->clicked();
    EXPECT_EQ(Number(), "5550000");
}

}  // namespace
}  // namespace softphone::test
