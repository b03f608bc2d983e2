// The phone's call and registration rules, on the controller alone over a fake engine: each row
// walks it through engine events and the user's presses and reads its typed state afterwards.
#include <gtest/gtest.h>

#include "app/PhoneController.h"
#include "dialer/KeyTable.h"
#include "records/RecentCalls.h"
#include "tests/support/FakePhone.h"

namespace softphone::test {
namespace {

using S = SessionState;
using C = PhoneController::Controls;
using F = PhoneFailure::Kind;

const QString kNumber = QStringLiteral("15551234567");

class PhoneControllerTest : public ::testing::Test {
protected:
    void SetUp() override { freshPhone(); }

    // A phone of its own, started with `account` and registered, nothing noted yet.
    void freshPhone(AccountSettings account = {"1001", "pw", "host", {}, {}}) {
        QFile::remove(recentCallsPath());
        phone = std::make_unique<PhoneController>(
            PhoneController::Services{tones, [this] {
                                          auto made = std::make_unique<FakeEngine>(calls);
                                          engine = made.get();
                                          return made;
                                      }});
        QObject::connect(phone.get(), &PhoneController::failed, [this](const PhoneFailure& f) {
            const char* kinds[] = {"StartUp", "NotRegistered", "NotAKey",
                                   "Call",    "HangUp",        "CertificateRefused"};
            failures
                << QString("%1 %2").arg(kinds[int(f.kind)]).arg(f.kind == F::HangUp ? 0 : f.code);
        });
        QObject::connect(phone.get(), &PhoneController::missedCall,
                         [this](const QString& number) { missed << number; });
        phone->start(account);
        emit engine->registrationChanged(RegistrationState::Registered);
        calls.clear();
        tones.played.clear();
        failures.clear();
        missed.clear();
    }

    // Runs the steps of a row: "ring" (a caller rings), "ring2" (a second one), "dial", "end",
    // "key5"; the phone's call reaching "progress", "connected" or "gone" (disconnected); "tick"
    // (a second of the call); "mute", "hold" (the user's presses); "poor" (the engine rates the
    // line poor from then on); "no-create", "no-answer", "no-end" (the engine fails that step
    // from then on); "rejected" (the registrar refuses the account).
    void run(const QString& steps) {
        for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
            const auto current = [&] {
                return std::static_pointer_cast<FakeSession>(phone->session());
            };
            const std::map<QString, S> states = {{"progress", S::InProgress},
                                                 {"connected", S::Connected},
                                                 {"gone", S::Disconnected}};
            if (step == "ring") {
                first = engine->ring();
            } else if (step == "ring2") {
                second = engine->ring();
            } else if (step == "dial") {
                phone->dial(kNumber);
                waitUntil([&] { return !phone->dialling(); });
            } else if (step == "end") {
                phone->end(kNumber);
            } else if (step == "key5") {
                phone->pressKey(*keyForCharacter('5'));
            } else if (step == "tick") {
                QMetaObject::invokeMethod(phone->findChild<QTimer*>("callClock"), "timeout");
            } else if (step == "mute" || step == "hold") {
                (phone.get()->*(step == "mute" ? &PhoneController::setMuted
                                               : &PhoneController::setHeld))(true);
            } else if (step == "poor") {
                current()->stats.quality = 1.5;
            } else if (step == "rejected") {
                emit engine->registrationChanged(RegistrationState::Rejected);
            } else if (step == "no-create") {
                engine->failCreateSession = true;
            } else if (step == "no-answer" || step == "no-end") {
                (step == "no-answer" ? current()->failAnswer : current()->failTerminate) = true;
            } else {
                ASSERT_TRUE(states.count(step) && current()) << step.toStdString();
                engine->raise(current(), states.at(step));
            }
        }
    }

    QStringList calls;
    RecordingSoundPlayer tones;
    FakeEngine* engine = nullptr;
    std::unique_ptr<PhoneController> phone;
    std::shared_ptr<FakeSession> first, second;
    QStringList failures;  // "kind number", the engine's number; none for a hang-up
    QStringList missed;
};

// Each row: what a call does to the typed state the window shows, what the engine is asked,
// which failure and which missed caller the user is told of. (A plain call out and its end, a
// caller answered, declined or giving up, a ten-digit call, a second caller during a call and a
// refused call: CallTest and DeskTest.)
TEST_F(PhoneControllerTest, CallsWalkTheirStates) {
    const struct {
        const char* steps;
        S state;     // the last one reported
        C controls;  // a call is active unless these are the idle ones
        bool ringing;
        const char* calls;  // asked of the engine, in order; # is kNumber
        const char* failures = "";
        const char* missed = "";
    } rows[] = {
        {"ring", S::Incoming, C::Ringing, true, ""},
        // One call at a time: a second caller hears busy, Dial places no second call.
        {"ring ring2 dial", S::Incoming, C::Ringing, false, "terminate busy, answer", "",
         "5557002"},
        {"dial progress ring2 dial", S::InProgress, C::InCall, false,
         "session via account, call #, terminate busy", "", "5557002"},
        // Digits go to the far end once connected, and only then.
        {"dial progress key5 connected key5", S::Connected, C::InCall, false,
         "session via account, call #, dtmf 5"},
        // The engine failing: its number shows, the idle controls come back, the ring stops.
        {"no-create dial", S::Idle, C::Idle, false, "session via account", "Call 9003"},
        {"ring no-answer dial", S::Incoming, C::Ringing, false, "answer", "Call 9004"},
        {"ring no-end end", S::Incoming, C::Ringing, false, "terminate reject", "HangUp 0"},
        {"rejected dial", S::Idle, C::Idle, false, "", "NotRegistered 0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.steps);
        freshPhone();
        run(row.steps);
        EXPECT_EQ(phone->callState(), row.state);
        EXPECT_EQ(phone->controls(), row.controls);
        EXPECT_EQ(phone->ringing(), row.ringing);
        EXPECT_EQ(phone->callActive(), row.controls != C::Idle);
        EXPECT_EQ(calls.join(", "), QString(row.calls).replace('#', kNumber));
        EXPECT_EQ(failures.join(", "), row.failures);
        EXPECT_EQ(missed.join(", "), row.missed);
    }
}

// Mute and Hold act on a connected call only and each new call starts unmuted; four poor
// seconds are not yet a poor line. (Hold, the far end's hold, five poor seconds and End while
// held: CallTest.)
TEST_F(PhoneControllerTest, MuteHoldAndTheLineFollowTheCall) {
    const struct {
        const char* steps;
        bool muted;
        const char* calls;  // after the call was placed
    } rows[] = {
        {"progress mute hold connected mute", true, "mute"},
        {"connected mute gone", false, "mute"},
        {"connected poor tick tick tick tick", false, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.steps);
        freshPhone();
        run("dial");
        calls.clear();
        run(row.steps);
        EXPECT_EQ(phone->muted(), row.muted);
        EXPECT_EQ(phone->hold(), Hold{});
        EXPECT_FALSE(phone->poorLine());
        EXPECT_EQ(calls.join(", "), row.calls);
    }
}

// The dialled number sounds its keys at the dialling pace, a character without a key says so;
// the call history takes the number with the call's length, a missed caller with none.
TEST_F(PhoneControllerTest, DiallingSoundsAndTheCallHistory) {
    phone->dial("15*a#");
    ASSERT_TRUE(waitUntil([&] { return !phone->dialling(); }));
    EXPECT_EQ(tones.played, (QStringList{"tone Tone1.wav", "tone Tone5.wav", "tone Tonestar.wav",
                                         "tone Tonepnd.wav"}));
    EXPECT_EQ(failures, QStringList{"NotAKey 0"});
    run("connected");
    for (int i = 0; i < 65; ++i) run("tick");
    phone->end("15*a#7");
    run("gone ring gone");
    EXPECT_EQ(readRecentCalls(),
              (QList<QByteArray>{"5557002--Duration: 0:0:0", "15*a#7--Duration: 0:1:5"}));

    // A blank Dial with no call history recalls nothing and calls nobody. (With a history:
    // CallTest.)
    QFile::remove(recentCallsPath());
    bool recalled = false;
    QObject::connect(phone.get(), &PhoneController::numberRecalled, [&] { recalled = true; });
    calls.clear();
    phone->dial(" ");
    EXPECT_FALSE(recalled);
    EXPECT_TRUE(calls.isEmpty());
}

// The empty password takes the account number at the start; a refused Login As leaves the
// registration as it was; the engine's passing states change nothing. (Login As with an empty
// password: StartupTest; a refused certificate: SecureTransportTest; a start without an
// engine: DeskTest.)
TEST_F(PhoneControllerTest, RegistrationFollowsTheEngine) {
    EXPECT_EQ(engine->enabled, "1001 pw host");
    engine->failEnableAccount = true;
    phone->logIn({"3", "4", "other", {}, {}});
    for (auto state : {RegistrationState::Failed, RegistrationState::Unregistering})
        emit engine->registrationChanged(state);
    EXPECT_EQ(phone->registration(), RegistrationState::Registered);
    EXPECT_EQ(failures, QStringList{"StartUp 9002"});
    freshPhone({"777", "", "host", {}, {}});
    EXPECT_EQ(engine->enabled, "777 777 host");
}

}  // namespace
}  // namespace softphone::test
