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
    std::shared_ptr<Session> NewSession(S state = S::Idle) {
        return std::make_shared<Session>(*phone.calls, state);
    }
    void Raise(S state, const std::shared_ptr<Session>& session) {
        session->state = state;
        phone.engine->Raise(state, session);
    }
    // A call that rings, as the engine reports it.
    std::shared_ptr<Session> Ring() {
        auto session = NewSession();
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

TEST_F(CallStateTest, CallEndedForPlainAudioSaysSoAndReturnsToIdle) {
    auto session = Call(S::InProgress);
    session->cause = EndCause::PlainMediaRefused;
    Raise(S::Disconnected, session);
    EXPECT_EQ(phone.Status(), "Refused: the far end offers no encrypted audio");
    EXPECT_EQ(Controls(), kIdle);
}

TEST_F(CallStateTest, ConnectedTimeCountsWithoutLeadingZeros) {
    const std::pair<int, const char*> times[] = {{0, "CONNECTED 0:0:0"},
                                                 {65, "CONNECTED 0:1:5"},
                                                 {3599, "CONNECTED 0:59:59"},
                                                 {3600, "CONNECTED 1:0:0"},
                                                 {90061, "CONNECTED 25:1:1"}};
    for (const auto& [seconds, text] : times) EXPECT_EQ(ConnectedTimeText(seconds), text);
}

TEST_F(CallStateTest, IncomingCallRingsAndIsAnsweredByTheCallButton) {
    auto session = Ring();
    EXPECT_EQ(phone.Status(), "INCOMING");
    EXPECT_EQ(phone.phone.Session(), session);
    EXPECT_EQ(Controls(), kRinging);
    EXPECT_TRUE(phone.calls->contains("PlayRing 1"));

    phone.calls->clear();
    phone.window.OnDialClicked();
    EXPECT_EQ(*phone.calls, QStringList({"Answer", "PlayRing 0"}));
    Raise(S::Answering, session);
    EXPECT_EQ(phone.Status(), "ANSWERING");
    Raise(S::Connected, session);
    EXPECT_EQ(Controls(), kInCall);
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
        auto session = NewSession();
        session->remoteParty = c.address;
        Raise(S::Incoming, session);
        EXPECT_EQ(phone.window.numberBox->currentText(), c.number);
        if (c.answer) {
            phone.window.OnDialClicked();
            Raise(S::Connected, session);
        }
        phone.window.OnEndClicked();
        EXPECT_TRUE(ReadRecentCalls().value(0).startsWith(QByteArray(c.number) + "--Duration:"))
            << c.address;
        Raise(S::Disconnected, session);
    }
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
    auto caller = Ring();
    EXPECT_TRUE(phone.calls->contains("Terminate busy"));
    WaitUntil([&] { return !phone.phone.Dialling(); });
    EXPECT_EQ(phone.calls->count("CreateSession via account"), 1);
    EXPECT_EQ(phone.player.played.size(), 11) << "one tone a digit";
}

TEST_F(CallStateTest, CallerHangingUpStopsTheRing) {
    auto session = Ring();
    phone.calls->clear();
    Raise(S::Disconnected, session);
    EXPECT_TRUE(phone.calls->contains("PlayRing 0"));
    EXPECT_EQ(Controls(), kIdle);
    auto next = Ring();
    EXPECT_EQ(phone.phone.Session(), next) << "a finished call is replaced";
}

TEST_F(CallStateTest, NotRegisteredOnlyShowsTheBox) {
    phone.engine->Register(RegistrationState::Rejected);
    phone.Dial("15551234567");
    EXPECT_EQ(phone.messages.Texts(),
              QStringList({"Sorry, you are not registered, please select Menu - LoginAs"}));
    EXPECT_TRUE(phone.calls->isEmpty());
    EXPECT_TRUE(phone.player.played.isEmpty());
    EXPECT_EQ(Controls(), kIdle);
}

TEST_F(CallStateTest, LettersGiveOneBoxEachAndTheCallStillGoes) {
    phone.Dial("1a2 #");
    ASSERT_EQ(phone.messages.shown.size(), 2u);
    for (const ShownMessage& m : phone.messages.shown) {
        EXPECT_EQ(m.text, "Numbers 0 to 9 only, please!");
        EXPECT_EQ(m.title, "Input Error");
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    }
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
        EXPECT_EQ(*phone.calls,
                  QStringList({"MaxBitrate 60000", route,
                               QStringLiteral("Call sip:%1@127.0.0.1:5070").arg(number)}));
        Raise(S::Disconnected, phone.engine->lastSession);
    }
}

TEST_F(CallStateTest, ACallThatCannotStartShowsItsErrorAndReturnsToIdle) {
    phone.engine->failCreateSession = true;
    phone.Dial("15551234567");
    EXPECT_EQ(phone.Status(), "Error:  9003");
    EXPECT_EQ(Controls(), kIdle);
    EXPECT_FALSE(phone.phone.Session());

    // The session exists but the call cannot be placed: it is dropped as well.
    phone.engine->failCreateSession = false;
    phone.engine->failCall = true;
    phone.Dial("15551234567");
    EXPECT_EQ(phone.Status(), "Error:  486");
    EXPECT_EQ(Controls(), kIdle);
    EXPECT_FALSE(phone.phone.Session());

    // Whatever the failure, the next caller rings.
    Ring();
    EXPECT_EQ(phone.Status(), "INCOMING");
    EXPECT_EQ(Controls(), kRinging);
}

TEST_F(CallStateTest, EndWritesTheRecordFirstThenRejectsOrHangsUp) {
    auto ringing = Ring();
    phone.window.numberBox->setEditText("123");
    phone.calls->clear();
    phone.window.OnEndClicked();
    EXPECT_EQ(*phone.calls, QStringList({"Terminate reject", "PlayRing 0"}));
    EXPECT_EQ(ReadRecentCalls().value(0), "123--Duration: 0:0:0");
    Raise(S::Disconnected, ringing);

    auto connected = Call(S::Connected);
    for (int i = 0; i < 65; ++i) phone.phone.OnCallClockTick();
    phone.calls->clear();
    phone.window.OnEndClicked();
    EXPECT_EQ(*phone.calls, QStringList({"Terminate normal"}));
    EXPECT_EQ(ReadRecentCalls().value(0), "15551234567--Duration: 0:1:5");

    connected->failTerminate = true;
    phone.window.OnEndClicked();
    EXPECT_EQ(phone.Status(), "Error:  No call");
}

TEST_F(CallStateTest, EndWithoutACallRecordsItAndShowsTheIdleControls) {
    phone.window.ShowControls(PhoneController::Controls::InCall);
    phone.window.numberBox->setEditText("");
    phone.window.OnEndClicked();
    EXPECT_EQ(ReadRecentCalls().value(0), "--Duration: 0:0:0");
    EXPECT_EQ(Controls(), kIdle);
}

TEST_F(CallStateTest, DialKeysSendDtmfOnlyWhileConnected) {
    for (S state : {S::Connected, S::InProgress, S::Disconnected}) {
        auto session = Call(state);
        // The status line may say anything meanwhile: a registration refresh, say.
        phone.engine->Register(RegistrationState::Registered);
        phone.calls->clear();
        phone.player.played.clear();
        phone.window.numberBox->setEditText("9");
        phone.window.OnDialKeyClicked(9);   // "*"
        phone.window.OnDialKeyClicked(11);  // "#"
        phone.window.OnDialKeyClicked(4);   // "5"
        EXPECT_EQ(phone.window.numberBox->currentText(), "9*#5");
        if (state == S::Connected) {
            EXPECT_EQ(*phone.calls, QStringList({"SendDTMF 10", "SendDTMF 11", "SendDTMF 5"}));
            EXPECT_TRUE(phone.player.played.isEmpty());
        } else {
            EXPECT_TRUE(phone.calls->isEmpty()) << int(state);
            EXPECT_EQ(phone.player.played,
                      QStringList({"tone Tonestar.wav", "tone Tonepnd.wav", "tone Tone5.wav"}));
        }
        Raise(S::Disconnected, session);
    }
}

TEST_F(CallStateTest, ClearAndBackspaceButtons) {
    phone.window.numberBox->setEditText("1");
    phone.window.OnBackClicked();
    EXPECT_EQ(phone.window.numberBox->currentText(), "");
    phone.window.OnBackClicked();
    EXPECT_EQ(phone.window.numberBox->currentText(), "");
    phone.window.numberBox->setEditText("123");
    phone.window.OnClearClicked();
    EXPECT_EQ(phone.window.numberBox->currentText(), "");
    EXPECT_EQ(phone.Status(), "Ready...");
    EXPECT_TRUE(phone.player.played.isEmpty());
}

TEST_F(CallStateTest, EnterInTheNumberFieldPlacesTheCallFromTenCharacters) {
    phone.engine->Register(RegistrationState::NotRegistered);  // the box shows PlaceCall ran
    QLineEdit* edit = phone.window.numberBox->lineEdit();
    phone.window.numberBox->setEditText("123456789");
    QTest::keyClick(phone.window.numberBox, Qt::Key_Return);
    EXPECT_TRUE(phone.messages.shown.empty());
    phone.window.numberBox->setEditText("1234567890");
    QTest::keyClick(phone.window.numberBox, Qt::Key_Return);
    EXPECT_EQ(phone.messages.shown.size(), 1u);
    EXPECT_EQ(edit->text(), "1234567890");
}

TEST_F(CallStateTest, CallsNobodyAnsweredAreRecordedAnnouncedAndCounted) {
    phone.window.OnHideClicked();    // away into the tray
    Raise(S::Disconnected, Ring());  // the caller gives up
    auto live = Call(S::Connected);
    Raise(S::Disconnected, Ring());  // sent away busy
    EXPECT_EQ(phone.phone.Session(), live);
    EXPECT_EQ(ReadRecentCalls(),
              QList<QByteArray>({"5557002--Duration: 0:0:0", "5557002--Duration: 0:0:0"}));
    EXPECT_EQ(phone.desk.notifications, QStringList(2, "Softphone: Missed call from 5557002"));
    EXPECT_EQ(phone.desk.tray->tip, "Softphone - 2 missed calls");

    // Back at the window, the count starts again; so it does on opening the call history.
    phone.desk.tray->Activate(TrayActivation::DoubleClick);
    phone.window.OnHideClicked();
    EXPECT_EQ(phone.desk.tray->tip, "Softphone");
    Raise(S::Disconnected, live);
    Raise(S::Disconnected, Ring());
    EXPECT_EQ(phone.desk.tray->tip, "Softphone - 1 missed call");
    emit phone.window.recentButton->clicked();
    EXPECT_EQ(phone.desk.tray->tip, "Softphone");
}

TEST_F(CallStateTest, CallsAnsweredOrRejectedAreNotMissed) {
    for (bool answer : {true, false}) {
        auto session = Ring();
        if (answer) phone.window.OnDialClicked();
        phone.window.OnEndClicked();
        Raise(S::Disconnected, session);
    }
    EXPECT_EQ(ReadRecentCalls().size(), 2);
    EXPECT_TRUE(phone.desk.notifications.isEmpty());
}

TEST_F(CallStateTest, ThePhoneBookAndCallHistoryHandTheirNumberToTheField) {
    phone.window.numberBox->setEditText("keep");
    emit phone.window.phoneBookButton->clicked();
    EXPECT_EQ(phone.window.numberBox->currentText(), "keep") << "closed without CALL";
    phone.windows.chosen = "5551234";
    emit phone.window.recentButton->clicked();
    EXPECT_EQ(phone.window.numberBox->currentText(), "5551234");
    EXPECT_EQ(phone.windows.phoneBookShown + phone.windows.recentCallsShown, 2);
}

}  // namespace
}  // namespace softphone::test
