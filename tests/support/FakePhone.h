#pragma once

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "app/HandsetWindow.h"
#include "app/SipEngine.h"
#include "records/SavedLogin.h"
#include "records/SettingsStore.h"
#include "support/PictureButton.h"
#include "tests/support/Fakes.h"
#include "tests/support/Wait.h"

namespace softphone::test {

// A call as the fake engine keeps it: the test sets its state and raises its events.
class FakeSession : public ISession {
public:
    explicit FakeSession(QStringList& calls) : calls_(calls) {}
    SessionState state() const override { return now; }
    Party farEnd() const override { return {"5557002", {}, "sip:5557002@127.0.0.1"}; }
    bool mediaEncrypted() const override { return false; }
    EndCause cause() const override { return EndCause::Other; }
    void call(const QString& number) override { calls_ << "call " + number; }
    void answer() override {
        calls_ << QStringLiteral("answer");
        if (failAnswer) throw EngineError(EngineFailure::NoCall, QStringLiteral("No call"));
    }
    void terminate(HangUpReason reason) override {
        const char* names[] = {"normal", "busy", "reject", "shutdown"};
        calls_ << QStringLiteral("terminate ") + QLatin1String(names[int(reason)]);
        if (failTerminate) throw EngineError(EngineFailure::NoCall, QStringLiteral("No call"));
    }

    void setMicrophoneMuted(bool muted) override { calls_ << (muted ? "mute" : "unmute"); }
    void setHeld(bool held) override { calls_ << (held ? "hold" : "resume"); }
    Hold hold() const override { return {}; }
    LineStats line() const override { return stats; }

    SessionState now = SessionState::Idle;
    LineStats stats;
    bool failAnswer = false, failTerminate = false;

private:
    QStringList& calls_;  // the engine's
};

// Notes in `calls` what the phone asks of the engine and its calls; tests deliver its events.
class FakeEngine : public ISipEngine {
public:
    explicit FakeEngine(QStringList& calls) : calls(calls) {}

    void initialize() override {}
    void enableAccount(const AccountSettings& account) override {
        if (failEnableAccount)
            throw EngineError(EngineFailure::BadAccount, QStringLiteral("Bad server"));
        enabled = account.account + ' ' + account.password + ' ' + account.server;
    }
    void unregister() override { calls << QStringLiteral("Unregister"); }
    void registerAgain() override { calls << QStringLiteral("RegisterAgain"); }
    void setMaxBitrate(int) override {}
    std::shared_ptr<ISession> createSession(CallRoute route) override {
        calls << (route == CallRoute::Direct ? QStringLiteral("session direct")
                                             : QStringLiteral("session via account"));
        if (failCreateSession)
            throw EngineError(EngineFailure::CallNotCreated, QStringLiteral("No call"));
        lastSession = std::make_shared<FakeSession>(calls);
        return lastSession;
    }
    void sendDtmf(int code) override { calls << QStringLiteral("dtmf %1").arg(code); }
    void shutdown() override { calls << QStringLiteral("shutdown"); }

    // A call in `state`, reported as the engine reports it.
    void raise(const std::shared_ptr<FakeSession>& session, SessionState state) {
        session->now = state;
        emit sessionChanged(session, state);
    }
    std::shared_ptr<FakeSession> ring() {
        auto session = std::make_shared<FakeSession>(calls);
        raise(session, SessionState::Incoming);
        return session;
    }

    QStringList& calls;
    QString enabled;  // the account enabled last: "account password server"
    std::shared_ptr<FakeSession> lastSession;
    bool failEnableAccount = false, failCreateSession = false;
};

// The phone and its handset window over the engine `engine` makes, settings in a file of its own,
// recorded message boxes and sounds, scripted dialogs, a fake sound card and tray.
class Handset {
public:
    explicit Handset(EngineFactory engine)
        : phone({player, std::move(engine)}),
          window(phone, {messages, windows, store, player, player, std::unique_ptr<IMixer>(mixer),
                         std::unique_ptr<ITray>(tray)}) {}

    QString status() const { return control<QLabel>("statusLabel")->text(); }
    QString number() const { return control<QComboBox>("numberBox")->currentText(); }
    void setNumber(const QString& number) { control<QComboBox>("numberBox")->setEditText(number); }
    PictureButton* button(const char* name) const { return control<PictureButton>(name); }
    void click(const char* button) { this->button(button)->click(); }
    void trigger(const char* action) { control<QAction>(action)->trigger(); }
    template <typename Control>
    Control* control(const char* name) const {
        return window.findChild<Control*>(QLatin1String(name));
    }
    // Dial as the user presses it; returns once the number has been dialled.
    void dial(const QString& number) {
        setNumber(number);
        click("dialButton");
        waitUntil([this] { return !phone.dialling(); });
    }
    void saveLogin(const QString& sip, const QString& account, const QString& password,
                   bool save = true) {
        SavedLogin{account, password, sip, save}.write(store);
    }

    QTemporaryDir dir;
    IniSettingsStore store{dir.filePath("Softphone.conf")};
    RecordingMessageBox messages;
    ScriptedWindows windows;
    RecordingSoundPlayer player;
    FakeMixer* mixer = new FakeMixer;  // owned by the window, as is the tray
    FakeTray* tray = new FakeTray;
    PhoneController phone;
    HandsetWindow window;
};

// What the fake engine was asked, kept until the handset (whose end stops the engine) is gone.
struct EngineCalls {
    QStringList calls;
};

// The handset over a fake engine.
class FakePhone : public EngineCalls, public Handset {
public:
    FakePhone()
        : Handset([this]() -> std::unique_ptr<ISipEngine> {
              if (noEngine) return nullptr;
              auto e = std::make_unique<FakeEngine>(calls);
              engine = e.get();
              return e;
          }) {}

    // Started and registered, as most tests need it.
    void startRegistered() {
        saveLogin("127.0.0.1:5070", "12345678901", "pw");
        window.start();
        emit engine->registrationChanged(RegistrationState::Registered);
        calls.clear();
    }

    // The phone's call reaching `state`.
    void report(SessionState state) {
        engine->raise(std::static_pointer_cast<FakeSession>(phone.session()), state);
    }

    FakeEngine* engine = nullptr;
    bool noEngine = false;
};

}  // namespace softphone::test
