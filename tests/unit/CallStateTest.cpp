// The call state machine of the main window over a fake engine.
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

class CallStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(RecentCallsPath());
        phone.StartRegistered();
    }
    std::shared_ptr<Session> NewSession(int state = kSessionIdle) {
        return std::make_shared<Session>(*phone.calls, state);
    }
    void Raise(int state, const std::shared_ptr<ISession>& session) {
        phone.engine->Raise(kEventSessionState, EngineEvent{state, session, 0, 0});
    }
    void Dial(const QString& number) {
        phone.window.numberBox->setEditText(number);
        phone.window.OnDialClicked();
    }
    // Enabled state of call, clear, back, wizard, end, number field.
    std::vector<bool> Controls() {
        HandsetWindow& w = phone.window;
        return {w.dialButton->isEnabled(),  w.clearButton->isEnabled(), w.backButton->isEnabled(),
                w.tuningButton->isEnabled(), w.endButton->isEnabled(),  w.numberBox->isEnabled()};
    }
    const std::vector<bool> kIdle{true, true, true, true, false, true};
    const std::vector<bool> kInCall{false, false, false, true, true, false};

    FakePhone phone;
};

TEST_F(CallStateTest, OutgoingCallRunsThroughItsStates) {
    Dial("15551234567");
    EXPECT_EQ(Controls(), kInCall);
    auto session = phone.window.session;
    ASSERT_TRUE(session);
    Raise(kSessionInProgress, session);
    EXPECT_EQ(phone.Status(), "INPROGRESS");
    phone.window.seconds = 9;
    Raise(kSessionConnected, session);
    EXPECT_EQ(phone.Status(), "CONNECTED");
    EXPECT_EQ(phone.window.seconds, 0);
    EXPECT_TRUE(phone.window.callClock.isActive());
    EXPECT_EQ(Controls(), kInCall);
    Raise(kSessionDisconnected, session);
    EXPECT_EQ(phone.Status(), "DISCONNECTED");
    EXPECT_FALSE(phone.window.session);
    EXPECT_FALSE(phone.window.participant);
    EXPECT_FALSE(phone.window.callClock.isActive());
    EXPECT_EQ(Controls(), kIdle);
}

TEST_F(CallStateTest, IncomingCallRingsAndIsAnsweredByTheCallButton) {
    auto session = NewSession(kSessionIncoming);
    Raise(kSessionIncoming, session);
    EXPECT_EQ(phone.Status(), "INCOMING");
    EXPECT_EQ(phone.window.session, session);
    EXPECT_TRUE(phone.window.ringRepeat.isActive());
    EXPECT_TRUE(phone.window.endButton->isEnabled());
    EXPECT_TRUE(phone.window.dialButton->isEnabled());
    EXPECT_TRUE(phone.calls->contains("PlayRing 0 1"));

    phone.calls->clear();
    phone.window.OnDialClicked();
    EXPECT_EQ(*phone.calls, QStringList({"Answer", "PlayRing 0 0"}));
    Raise(kSessionAnswering, session);
    EXPECT_EQ(phone.Status(), "ANSWERING");
    EXPECT_FALSE(phone.window.ringRepeat.isActive());
    Raise(kSessionConnected, session);
    EXPECT_EQ(Controls(), kInCall);
}

TEST_F(CallStateTest, ARingingCallIsAnnouncedOnlyWhileTheWindowIsInTheTray) {
    Raise(kSessionIncoming, NewSession(kSessionIncoming));
    ASSERT_TRUE(phone.desk.tray);
    EXPECT_TRUE(phone.desk.tray->messages.isEmpty());
    Raise(kSessionDisconnected, phone.window.session);

    phone.window.OnHideClicked();  // away into the tray
    Raise(kSessionIncoming, NewSession(kSessionIncoming));
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
        auto session = NewSession(kSessionIncoming);
        session->remoteParty = c.address;
        Raise(kSessionIncoming, session);
        EXPECT_EQ(phone.window.numberBox->currentText(), c.number);
        if (c.answer) {
            phone.window.OnDialClicked();
            session->state = kSessionConnected;
            Raise(kSessionConnected, session);
        }
        phone.window.OnEndClicked();
        EXPECT_TRUE(ReadRecentCalls().value(0).startsWith(QByteArray(c.number) + "--Duration:"))
            << c.address;
        Raise(kSessionDisconnected, session);
    }
}

TEST_F(CallStateTest, EngineFailuresToAnswerOrRejectLeaveNoRingBehind) {
    auto session = NewSession(kSessionIncoming);
    session->failAnswer = true;
    Raise(kSessionIncoming, session);
    phone.window.OnDialClicked();
    EXPECT_EQ(phone.Status(), "Error:  9004");
    EXPECT_EQ(phone.calls->last(), "PlayRing 0 0");

    session->failTerminate = true;
    phone.calls->clear();
    phone.window.OnEndClicked();
    EXPECT_EQ(*phone.calls, QStringList({"Terminate 3", "PlayRing 0 0"}));
    EXPECT_FALSE(phone.window.ringRepeat.isActive()) << "the ring would repeat";
    EXPECT_EQ(phone.Status(), "Error:  No call");
}

TEST_F(CallStateTest, NoSecondCallWhileOneRingsOrRuns) {
    for (int liveState : {kSessionIncoming, kSessionInProgress, kSessionConnected}) {
        auto live = NewSession(liveState);
        phone.window.session = live;
        // A registration refresh overwrites the status line during the call.
        phone.engine->Raise(kEventRegistrationState, EngineEvent{kRegRegistered, nullptr, 0, 0});
        phone.calls->clear();
        phone.window.numberBox->setEditText("15551234567");
        QTest::keyClick(phone.window.numberBox, Qt::Key_Return);
        phone.window.OnDialClicked();
        const QStringList expected =
            liveState == kSessionIncoming ? QStringList({"Answer", "PlayRing 0 0"}) : QStringList();
        EXPECT_EQ(*phone.calls, expected) << liveState;
        EXPECT_EQ(phone.window.session, live);
    }
}

TEST_F(CallStateTest, CallsNobodyAnsweredAreRecordedAnnouncedAndCounted) {
    phone.window.OnHideClicked();  // away into the tray
    auto missed = [&](auto&& ring) {
        auto session = NewSession(kSessionIncoming);
        ring(session);
        Raise(kSessionDisconnected, session);
    };
    missed([&](auto& s) { Raise(kSessionIncoming, s); });  // the caller gives up
    auto live = NewSession(kSessionConnected);
    phone.window.session = live;
    missed([&](auto& s) { Raise(kSessionIncoming, s); });  // sent away busy
    EXPECT_EQ(phone.window.session, live);
    EXPECT_EQ(ReadRecentCalls(), QList<QByteArray>({"5557002--Duration: 0:0:0", "5557002--Duration: 0:0:0"}));
    EXPECT_EQ(phone.desk.notifications, QStringList(2, "Softphone: Missed call from 5557002"));
    EXPECT_EQ(phone.desk.tray->tip, "Softphone - 2 missed calls");

    // Back at the window, the count starts again.
    phone.desk.tray->Activate(TrayActivation::DoubleClick);
    phone.window.OnHideClicked();
    EXPECT_EQ(phone.desk.tray->tip, "Softphone");
    phone.window.session.reset();
    missed([&](auto& s) { Raise(kSessionIncoming, s); });
    EXPECT_EQ(phone.desk.tray->tip, "Softphone - 1 missed call");
    emit phone.window.recentButton->clicked();  // the recent calls
    EXPECT_EQ(phone.desk.tray->tip, "Softphone");
}

TEST_F(CallStateTest, CallsAnsweredOrRejectedAreNotMissed) {
    for (bool answer : {true, false}) {
        auto session = NewSession(kSessionIncoming);
        Raise(kSessionIncoming, session);
        if (answer) phone.window.OnDialClicked();
        phone.window.OnEndClicked();
        Raise(kSessionDisconnected, session);
    }
    EXPECT_EQ(ReadRecentCalls().size(), 2);
    EXPECT_TRUE(phone.desk.notifications.isEmpty());
}

TEST_F(CallStateTest, IdleStateAndUnknownNumbers) {
    auto session = NewSession();
    phone.window.session = session;
    Raise(kSessionIdle, session);
    EXPECT_EQ(phone.Status(), "IDLE");
    for (int state : {-1, 6, 99}) {
        Raise(state, session);
        EXPECT_EQ(phone.Status(), "IDLE") << state;
    }
}

TEST_F(CallStateTest, ASecondCallerHearsBusyAndTheLiveCallIsUntouched) {
    for (int liveState : {kSessionIncoming, kSessionInProgress, kSessionConnected}) {
        auto live = NewSession(liveState);
        phone.window.session = live;
        phone.window.statusLabel->setText("CONNECTED 0:0:7");
        phone.calls->clear();
        auto second = NewSession(kSessionIncoming);
        Raise(kSessionIncoming, second);
        EXPECT_EQ(*phone.calls, QStringList({"Terminate 2"})) << liveState;
        EXPECT_EQ(phone.window.session, live);
        EXPECT_EQ(phone.Status(), "CONNECTED 0:0:7");
        // The declined call's own end is no concern of the window's.
        Raise(kSessionDisconnected, second);
        EXPECT_EQ(phone.window.session, live);
        EXPECT_EQ(phone.Status(), "CONNECTED 0:0:7");
    }
}

TEST_F(CallStateTest, AnIncomingCallReplacesAFinishedOne) {
    phone.window.session = NewSession(kSessionDisconnected);
    auto next = NewSession(kSessionIncoming);
    Raise(kSessionIncoming, next);
    EXPECT_EQ(phone.window.session, next);
    EXPECT_EQ(phone.Status(), "INCOMING");
}

TEST_F(CallStateTest, CallerHangingUpStopsTheRing) {
    auto session = NewSession(kSessionIncoming);
    Raise(kSessionIncoming, session);
    phone.calls->clear();
    Raise(kSessionDisconnected, session);
    EXPECT_TRUE(phone.calls->contains("PlayRing 0 0"));
    EXPECT_FALSE(phone.window.ringRepeat.isActive());
    EXPECT_EQ(Controls(), kIdle);
}

TEST_F(CallStateTest, ConnectedTimeCountsWithoutLeadingZeros) {
    HandsetWindow& w = phone.window;
    for (int i = 0; i < 65; ++i) w.OnCallClockTick();
    EXPECT_EQ(phone.Status(), "CONNECTED 0:1:5");
    w.hours = 0, w.minutes = 59, w.seconds = 58;
    w.OnCallClockTick();
    EXPECT_EQ(phone.Status(), "CONNECTED 0:59:59");
    w.OnCallClockTick();
    EXPECT_EQ(phone.Status(), "CONNECTED 1:0:0");
}

TEST_F(CallStateTest, NotRegisteredOnlyShowsTheBox) {
    phone.window.registrationState = "REJECTED";
    Dial("15551234567");
    EXPECT_EQ(phone.messages.Texts(),
              QStringList({"Sorry, you are not registered, please select Menu - LoginAs"}));
    EXPECT_TRUE(phone.calls->isEmpty());
    EXPECT_TRUE(phone.player.played.isEmpty());
    EXPECT_EQ(Controls(), kIdle);
}

TEST_F(CallStateTest, LettersGiveOneBoxEachAndTheCallStillGoes) {
    Dial("1a2 #");
    ASSERT_EQ(phone.messages.shown.size(), 2u);
    for (const ShownMessage& m : phone.messages.shown) {
        EXPECT_EQ(m.text, "Numbers 0 to 9 only, please!");
        EXPECT_EQ(m.title, "Input Error");
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    }
    EXPECT_EQ(phone.player.played,
              QStringList({"tone Tone1.wav", "tone Tone2.wav", "tone Tonepnd.wav"}));
    EXPECT_TRUE(phone.calls->contains("AddParticipant sip:1a2 #@127.0.0.1:5070 Any Name"));
}

TEST_F(CallStateTest, TenCharactersGoWithoutTheProfile) {
    struct Case {
        const char* number;
        const char* session;
    };
    for (Case c : {Case{"1234567890", "CreateSession 0 none 0"},
                   Case{"123456789", "CreateSession 1 profile 1"},
                   Case{"12345678901", "CreateSession 1 profile 1"}}) {
        phone.calls->clear();
        Dial(c.number);
        EXPECT_EQ(phone.calls->value(1), c.session) << c.number;
        EXPECT_EQ(phone.calls->value(0), "MaxBitrate 60000");
        phone.window.session.reset();
    }
}

TEST_F(CallStateTest, ACallThatCannotStartShowsItsErrorAndReturnsToIdle) {
    phone.engine->failCreateSession = true;
    Dial("15551234567");
    EXPECT_EQ(phone.Status(), QStringLiteral("Error:  %1").arg(kErrorCallNotCreated));
    EXPECT_EQ(Controls(), kIdle);
    EXPECT_FALSE(phone.window.session);

    // The session exists but the far end cannot be added: it is dropped as well.
    phone.engine->failCreateSession = false;
    phone.engine->failAddParticipant = true;
    Dial("15551234567");
    EXPECT_EQ(phone.Status(), "Error:  486");
    EXPECT_EQ(Controls(), kIdle);
    EXPECT_FALSE(phone.window.session);

    // Whatever the failure, the next caller rings.
    Raise(kSessionIncoming, NewSession(kSessionIncoming));
    EXPECT_EQ(phone.Status(), "INCOMING");
    EXPECT_TRUE(phone.window.endButton->isEnabled());
}

TEST_F(CallStateTest, EndWritesTheRecordFirstThenRejectsOrHangsUp) {
    auto incoming = NewSession(kSessionIncoming);
    Raise(kSessionIncoming, incoming);
    phone.window.numberBox->setEditText("123");
    phone.window.minutes = 1, phone.window.seconds = 5;
    phone.calls->clear();
    phone.window.OnEndClicked();
    EXPECT_EQ(*phone.calls, QStringList({"Terminate 3", "PlayRing 0 0"}));
    EXPECT_EQ(ReadRecentCalls().value(0), "123--Duration: 0:1:5");

    auto connected = NewSession(kSessionConnected);
    phone.window.session = connected;
    phone.calls->clear();
    phone.window.OnEndClicked();
    EXPECT_EQ(*phone.calls, QStringList({"Terminate 0"}));
    EXPECT_EQ(ReadRecentCalls().size(), 2);

    connected->failTerminate = true;
    phone.window.OnEndClicked();
    EXPECT_EQ(phone.Status(), "Error:  No call");
}

TEST_F(CallStateTest, EndWithoutACallRecordsItAndShowsTheIdleControls) {
    phone.window.ShowInCallControls();
    phone.window.numberBox->setEditText("");
    phone.window.OnEndClicked();
    EXPECT_EQ(ReadRecentCalls().value(0), "--Duration: 0:0:0");
    EXPECT_EQ(Controls(), kIdle);
}

TEST_F(CallStateTest, DialKeysSendDtmfOnlyWhileConnected) {
    struct Case {
        int session;  // -1: no call
        const char* line;
        bool dtmf;
    };
    for (Case c : {Case{kSessionConnected, "CONNECTED 0:1:5", true},
                   Case{kSessionConnected, "Registered and Ready...", true},
                   Case{kSessionInProgress, "INPROGRESS", false}, Case{-1, "CONNECTED", false},
                   Case{-1, "Ready...", false}}) {
        phone.calls->clear();
        phone.player.played.clear();
        phone.window.session = c.session < 0 ? nullptr : NewSession(c.session);
        phone.window.statusLabel->setText(c.line);
        phone.window.numberBox->setEditText("9");
        phone.window.numberBox->setEnabled(!c.dtmf);
        phone.window.OnDialKeyClicked(9);   // "*"
        phone.window.OnDialKeyClicked(11);  // "#"
        phone.window.OnDialKeyClicked(4);   // "5"
        EXPECT_EQ(phone.window.numberBox->currentText(), "9*#5") << c.line;
        if (c.dtmf) {
            EXPECT_EQ(*phone.calls, QStringList({"SendDTMF 10", "SendDTMF 11", "SendDTMF 5"}));
            EXPECT_TRUE(phone.player.played.isEmpty());
        } else {
            EXPECT_TRUE(phone.calls->isEmpty()) << c.line;
            EXPECT_EQ(phone.player.played,
                      QStringList({"tone Tonestar.wav", "tone Tonepnd.wav", "tone Tone5.wav"}));
        }
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
    phone.window.registrationState = "NOTREGISTERED";  // so PlaceCall shows itself with its box
    QLineEdit* edit = phone.window.numberBox->lineEdit();
    phone.window.numberBox->setEditText("123456789");
    QTest::keyClick(phone.window.numberBox, Qt::Key_Return);
    EXPECT_TRUE(phone.messages.shown.empty());
    phone.window.numberBox->setEditText("1234567890");
    QTest::keyClick(phone.window.numberBox, Qt::Key_Return);
    EXPECT_EQ(phone.messages.shown.size(), 1u);
    EXPECT_EQ(edit->text(), "1234567890");
}

}  // namespace
}  // namespace softphone::test
