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

const QString kNumber = QStringLiteral("15551234567");

class PhoneControllerTest : public ::testing::Test {
protected:
    void SetUp() override { freshPhone(); }

    // A phone of its own, started with `account` and registered, nothing noted yet.
    void freshPhone(AccountSettings account = {"1001", "pw", "host", {}, {}}) {
        QFile::remove(recentCallsPath());
        phone = std::make_unique<PhoneController>(PhoneController::Services{
            tones, [this] { return std::unique_ptr<ISipEngine>(engine = new FakeEngine(calls)); }});
        QObject::connect(phone.get(), &PhoneController::failed, [this](const PhoneFailure& f) {
            const char* kinds[] = {"StartUp", "NotRegistered", "NotAKey",
                                   "Call",    "HangUp",        "CertificateRefused"};
            const bool hangUp = f.kind == PhoneFailure::Kind::HangUp;  // its code means nothing
            told << QString("%1 %2").arg(kinds[int(f.kind)]).arg(hangUp ? 0 : f.code);
        });
        QObject::connect(phone.get(), &PhoneController::missedCall,
                         [this](const QString& number) { told << "missed " + number; });
        QObject::connect(phone.get(), &PhoneController::numberRecalled,
                         [this](const QString& number) { told << "recalled " + number; });
        phone->start(account);
        emit engine->registrationChanged(RegistrationState::Registered);
        for (QStringList* noted : {&calls, &tones.played, &told}) noted->clear();
    }

    // Runs a row's steps: a caller rings; the user dials kNumber or a blank, ends, presses key 5,
    // Mute or Hold; the call reaches "progress", "connected" or "gone"; a second of it passes
    // ("tick"); the engine rates the line poor or fails a step from then on ("no-create",
    // "no-answer", "no-end"); the registrar refuses the account ("rejected").
    void run(const QString& steps) {
        const auto call = [&] { return std::static_pointer_cast<FakeSession>(phone->session()); };
        const auto reach = [&](S state) {
            return [=, this] { call() ? engine->raise(call(), state) : void(); };
        };
        const std::map<QString, std::function<void()>> actions = {
            {"ring", [&] { rang << engine->ring(); }},
            {"dial", [&] { phone->dial(kNumber), waitUntil([&] { return !phone->dialling(); }); }},
            {"blank", [&] { phone->dial(" "); }},
            {"end", [&] { phone->end(kNumber); }},
            {"key5", [&] { phone->pressKey(*keyForCharacter('5')); }},
            {"tick",
             [&] { QMetaObject::invokeMethod(phone->findChild<QTimer*>("callClock"), "timeout"); }},
            {"mute", [&] { phone->setMuted(true); }},
            {"hold", [&] { phone->setHeld(true); }},
            {"poor", [&] { call()->stats.quality = 1.5; }},
            {"rejected", [&] { emit engine->registrationChanged(RegistrationState::Rejected); }},
            {"no-create", [&] { engine->failCreateSession = true; }},
            {"no-answer", [&] { call()->failAnswer = true; }},
            {"no-end", [&] { call()->failTerminate = true; }},
            {"progress", reach(S::InProgress)},
            {"connected", reach(S::Connected)},
            {"gone", reach(S::Disconnected)},
        };
        for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
            ASSERT_TRUE(actions.count(step)) << step.toStdString();
            actions.at(step)();
        }
    }

    QStringList calls;
    RecordingSoundPlayer tones;
    FakeEngine* engine = nullptr;
    std::unique_ptr<PhoneController> phone;
    QList<std::shared_ptr<FakeSession>> rang;
    QStringList told;  // failures as "kind number" (the engine's), missed and recalled numbers
};

// Each row: what a call does to the typed state the window shows, what the engine is asked and
// what the user is told. (A caller ringing, answered, declined or giving up, a plain call out and
// its end, a ten-digit call, a second caller during a call, a refused call, a recall, Hold, the
// far end's hold, a poor line, End while held, and a new call unmuted: CallTest and DeskTest.)
TEST_F(PhoneControllerTest, CallsWalkTheirStates) {
    const struct {
        const char* steps;
        S state;     // the last one reported
        C controls;  // a call is active unless these are the idle ones
        bool muted;
        const char* calls;  // asked of the engine, in order; "placed": the call to kNumber placed
        const char* told = "";
    } rows[] = {
        // One call at a time: a second caller hears busy, Dial places no second call.
        {"ring ring dial", S::Incoming, C::Ringing, false, "terminate busy, answer",
         "missed 5557002"},
        {"dial progress ring dial", S::InProgress, C::InCall, false, "placed, terminate busy",
         "missed 5557002"},
        // Digits go to the far end once connected, and only then.
        {"dial progress key5 connected key5", S::Connected, C::InCall, false, "placed, dtmf 5"},
        // Mute and Hold act on a connected call only; four poor seconds are not yet a poor line.
        {"dial progress mute hold connected mute", S::Connected, C::InCall, true, "placed, mute"},
        {"dial connected poor tick tick tick tick", S::Connected, C::InCall, false, "placed"},
        // A blank Dial without a call history recalls nothing and calls nobody.
        {"blank", S::Idle, C::Idle, false, ""},
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
        EXPECT_EQ(std::tuple(phone->callState(), phone->controls(), phone->muted()),
                  std::tuple(row.state, row.controls, row.muted));
        EXPECT_EQ(phone->callActive(), row.controls != C::Idle);
        EXPECT_FALSE(phone->ringing() || phone->poorLine() || phone->hold() != Hold{})
            << "rings " << phone->ringing() << ", poor line " << phone->poorLine();
        EXPECT_EQ(calls.join(", "),
                  QString(row.calls).replace("placed", "session via account, call " + kNumber));
        EXPECT_EQ(told.join(", "), row.told);
    }
}

// The dialled number sounds its keys at the dialling pace, skipping a character without a key
// (the box that says so: CallTest); the call history takes the number in the field at End with
// the call's length (a missed caller's record: CallTest).
TEST_F(PhoneControllerTest, DiallingSoundsAndTheCallHistory) {
    phone->dial("15*a#");
    ASSERT_TRUE(waitUntil([&] { return !phone->dialling(); }));
    EXPECT_EQ(tones.played.join(",").remove("tone Tone").remove(".wav"), "1,5,star,pnd");
    run("connected");
    for (int i = 0; i < 65; ++i) run("tick");
    phone->end("15*a#7");
    EXPECT_EQ(readRecentCalls(), QList<QByteArray>{"15*a#7--Duration: 0:1:5"});
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
    EXPECT_EQ(told, QStringList{"StartUp 9002"});
    freshPhone({"777", "", "host", {}, {}});
    EXPECT_EQ(engine->enabled, "777 777 host");
}

}  // namespace
}  // namespace softphone::test
