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

    // A phone of its own, started with account 1001 and registered, nothing noted yet.
    void freshPhone() {
        QFile::remove(recentCallsPath());
        phone = makePhone();
        QObject::connect(phone.get(), &PhoneController::failed, [this](const PhoneFailure& f) {
            failures.push_back({f.kind, f.kind == F::HangUp ? 0 : f.code});
            description = f.description;
        });
        QObject::connect(phone.get(), &PhoneController::missedCall,
                         [this](const QString& number) { missed << number; });
        phone->start({"1001", "pw", "host", {}, {}});
        emit engine->registrationChanged(RegistrationState::Registered);
        calls.clear();
        tones.played.clear();
        failures.clear();
        missed.clear();
    }
    std::unique_ptr<PhoneController> makePhone() {
        return std::make_unique<PhoneController>(
            PhoneController::Services{tones, [this] {
                                          auto made = std::make_unique<FakeEngine>(calls);
                                          engine = made.get();
                                          return made;
                                      }});
    }

    // Runs the steps of a row: "ring" (a caller rings), "ring2" (a second one), "dial",
    // "dial10" (a ten-digit number), "end", "key5"; the phone's call reaching "answering",
    // "progress", "connected", "gone" (disconnected), or the second caller giving up ("gone2");
    // "tick" (a second of the call); "mute", "hold" (the user's presses), "held" and
    // "farheld" (the engine reports the phone's or the far end's hold), "poor" (the engine
    // rates the line poor from then on); "no-create", "no-call", "no-answer", "no-end" (the engine
    // fails that step from then on); "rejected" (the registrar refuses the account).
    void run(const QString& steps) {
        for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
            const auto current = [&] {
                return std::static_pointer_cast<FakeSession>(phone->session());
            };
            const std::map<QString, S> states = {{"answering", S::Answering},
                                                 {"progress", S::InProgress},
                                                 {"connected", S::Connected},
                                                 {"gone", S::Disconnected}};
            if (step == "ring") {
                first = engine->ring();
            } else if (step == "ring2") {
                second = engine->ring();
            } else if (step == "gone2") {
                engine->raise(second, S::Disconnected);
            } else if (step.startsWith("dial")) {
                phone->dial(step == "dial10" ? kNumber.right(10) : kNumber);
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
            } else if (step == "held" || step == "farheld") {
                current()->held = {step == "held", step == "farheld"};
                emit engine->holdChanged(current());
            } else if (step == "poor") {
                current()->stats.quality = 1.5;
            } else if (step == "rejected") {
                emit engine->registrationChanged(RegistrationState::Rejected);
            } else if (step == "no-create") {
                engine->failCreateSession = true;
            } else if (step == "no-call") {
                engine->failCall = true;
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
    std::vector<std::pair<F, int>> failures;  // with the engine's number; none for a hang-up
    QString description;                      // of the last failure
    QStringList missed;
};

TEST_F(PhoneControllerTest, CallsWalkTheirStates) {
    const struct {
        const char* steps;
        S state;  // the last one reported
        C controls;
        bool ringing, active;
        QStringList calls;  // asked of the engine, in order; key tones as "tone"
        std::vector<std::pair<F, int>> failures = {};
        QStringList missed = {};
    } rows[] = {
        {"dial progress connected",
         S::Connected,
         C::InCall,
         false,
         true,
         {"session via account", "call " + kNumber}},
        {"dial10 progress",
         S::InProgress,
         C::InCall,
         false,
         true,
         {"session direct", "call 5551234567"}},
        {"dial progress connected end gone",
         S::Disconnected,
         C::Idle,
         false,
         false,
         {"session via account", "call " + kNumber, "terminate normal"}},
        {"ring", S::Incoming, C::Ringing, true, true, {}},
        {"ring dial answering connected", S::Connected, C::InCall, false, true, {"answer"}},
        {"ring end gone", S::Disconnected, C::Idle, false, false, {"terminate reject"}},
        {"ring gone", S::Disconnected, C::Idle, false, false, {}, {}, {"5557002"}},
        // One call at a time: a second caller hears busy, Dial places no second call.
        {"ring ring2 dial",
         S::Incoming,
         C::Ringing,
         false,
         true,
         {"terminate busy", "answer"},
         {},
         {"5557002"}},
        {"dial progress ring2 dial",
         S::InProgress,
         C::InCall,
         false,
         true,
         {"session via account", "call " + kNumber, "terminate busy"},
         {},
         {"5557002"}},
        {"dial progress connected ring2 gone2",
         S::Connected,
         C::InCall,
         false,
         true,
         {"session via account", "call " + kNumber, "terminate busy"},
         {},
         {"5557002"}},
        // Digits go to the far end once connected, and only then.
        {"dial progress key5 connected key5",
         S::Connected,
         C::InCall,
         false,
         true,
         {"session via account", "call " + kNumber, "dtmf 5"}},
        // The engine failing: its number shows, the idle controls come back, the ring stops.
        {"no-create dial",
         S::Idle,
         C::Idle,
         false,
         false,
         {"session via account"},
         {{F::Call, 9003}}},
        {"no-call dial",
         S::Idle,
         C::Idle,
         false,
         false,
         {"session via account", "call " + kNumber},
         {{F::Call, 486}}},
        {"ring no-answer dial",
         S::Incoming,
         C::Ringing,
         false,
         true,
         {"answer"},
         {{F::Call, 9004}}},
        {"ring no-end end",
         S::Incoming,
         C::Ringing,
         false,
         true,
         {"terminate reject"},
         {{F::HangUp, 0}}},
        {"rejected dial", S::Idle, C::Idle, false, false, {}, {{F::NotRegistered, 0}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.steps);
        freshPhone();
        run(row.steps);
        EXPECT_EQ(phone->callState(), row.state);
        EXPECT_EQ(phone->controls(), row.controls);
        EXPECT_EQ(phone->ringing(), row.ringing);
        EXPECT_EQ(phone->callActive(), row.active);
        EXPECT_EQ(calls, row.calls);
        EXPECT_EQ(failures, row.failures);
        EXPECT_EQ(missed, row.missed);
    }
}

// Mute and Hold act on a connected call only and each new call starts without them; the line
// counts as poor after five poor seconds in a row.
TEST_F(PhoneControllerTest, MuteHoldAndTheLineFollowTheCall) {
    const struct {
        const char* steps;
        bool muted;
        Hold hold;
        bool poorLine;
        QStringList calls;  // after the call was placed
    } rows[] = {
        {"progress mute hold connected mute", true, {}, false, {"mute"}},
        {"connected mute gone", false, {}, false, {"mute"}},
        {"connected hold held", false, {true, false}, false, {"hold"}},
        {"connected farheld", false, {false, true}, false, {}},
        {"connected held end gone", false, {}, false, {"terminate normal"}},
        {"connected poor tick tick tick tick", false, {}, false, {}},
        {"connected poor tick tick tick tick tick", false, {}, true, {}},
        {"connected poor tick tick tick tick tick gone", false, {}, false, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.steps);
        freshPhone();
        run("dial");
        calls.clear();
        run(row.steps);
        EXPECT_EQ(phone->muted(), row.muted);
        EXPECT_EQ(phone->hold(), row.hold);
        EXPECT_EQ(phone->poorLine(), row.poorLine);
        EXPECT_EQ(calls, row.calls);
    }
}

// The dialled number sounds its keys at the dialling pace, a character without a key says so;
// the call history takes the number with the call's length, a missed caller with none.
TEST_F(PhoneControllerTest, DiallingSoundsAndTheCallHistory) {
    phone->dial("15*a#");
    ASSERT_TRUE(waitUntil([&] { return !phone->dialling(); }));
    EXPECT_EQ(tones.played, (QStringList{"tone Tone1.wav", "tone Tone5.wav", "tone Tonestar.wav",
                                         "tone Tonepnd.wav"}));
    EXPECT_EQ(failures, (std::vector<std::pair<F, int>>{{F::NotAKey, 0}}));
    run("connected");
    for (int i = 0; i < 65; ++i) run("tick");
    EXPECT_EQ(phone->callSeconds(), 65);
    phone->end("15*a#7");
    run("gone ring gone");
    EXPECT_EQ(readRecentCalls(),
              (QList<QByteArray>{"5557002--Duration: 0:0:0", "15*a#7--Duration: 0:1:5"}));

    // Dial with no number recalls the newest number and calls nobody; a second Dial calls it.
    QStringList recalled;
    QObject::connect(phone.get(), &PhoneController::numberRecalled,
                     [&](const QString& number) { recalled << number; });
    calls.clear();
    phone->dial(" ");
    EXPECT_EQ(recalled, QStringList{"5557002"});
    EXPECT_TRUE(calls.isEmpty());
    QFile::remove(recentCallsPath());
    phone->dial("");
    EXPECT_EQ(recalled.size(), 1);
    EXPECT_TRUE(calls.isEmpty());
}

// The empty password takes the account number at the start only; a refused Login As leaves the
// registration as it was; a refused certificate says why; the engine's passing states change
// nothing.
TEST_F(PhoneControllerTest, RegistrationFollowsTheEngine) {
    EXPECT_EQ(engine->enabled, "1001 pw host");
    engine->failEnableAccount = true;
    phone->logIn({"3", "4", "other", {}, {}});
    for (auto state : {RegistrationState::Failed, RegistrationState::Unregistering})
        emit engine->registrationChanged(state);
    EXPECT_EQ(phone->registration(), RegistrationState::Registered);
    emit engine->certificateRefused("the certificate has expired");
    EXPECT_EQ(phone->registration(), RegistrationState::Failed);
    EXPECT_EQ(failures,
              (std::vector<std::pair<F, int>>{{F::StartUp, 9002}, {F::CertificateRefused, 0}}));
    EXPECT_EQ(description, "the certificate has expired");

    auto emptyPassword = makePhone();
    emptyPassword->start({"777", "", "host", {}, {}});
    EXPECT_EQ(engine->enabled, "777 777 host");
    emptyPassword->logIn({"777", "", "host", {}, {}});
    EXPECT_EQ(engine->enabled, "777  host");

    PhoneController none{{tones, [] { return nullptr; }}};
    int startFailures = 0;
    QObject::connect(&none, &PhoneController::failed, [&] { ++startFailures; });
    none.start({"1", "2", "host", {}, {}});
    EXPECT_EQ(startFailures, 2) << "the engine, then the account";
}

}  // namespace
}  // namespace softphone::test
