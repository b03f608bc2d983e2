#pragma once

#include <QComboBox>
#include <QLabel>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "app/HandsetWindow.h"
#include "app/SipEngine.h"
#include "records/SettingsStore.h"
#include "tests/support/FakeDesk.h"
#include "tests/support/Fakes.h"
#include "tests/support/Wait.h"

namespace softphone::test {

// Notes in `calls` what the phone asks of the engine and its calls; tests deliver events
// through `Register` and `Raise`.
class FakeEngine : public ISipEngine {
public:
    class Session : public ISession {
    public:
        explicit Session(QStringList& calls) : calls_(calls) {}
        SessionState state() const override { return now; }
        QString remoteParty() const override { return farEnd; }
        bool mediaEncrypted() const override { return false; }
        EndCause cause() const override { return EndCause::Other; }
        void call(const QString& uri) override {
            calls_ << QStringLiteral("Call %1").arg(uri);
            if (failCall) throw EngineError(486, QStringLiteral("Busy Here"));
        }
        void answer() override {
            calls_ << QStringLiteral("Answer");
            if (failAnswer) throw EngineError(EngineFailure::NoCall, QStringLiteral("No call"));
        }
        void terminate(HangUpReason reason) override {
            const char* names[] = {"normal", "busy", "reject", "shutdown"};
            calls_ << QStringLiteral("Terminate %1").arg(QLatin1String(names[int(reason)]));
            if (failTerminate) throw EngineError(EngineFailure::NoCall, QStringLiteral("No call"));
        }

        QStringList& calls_;
        SessionState now = SessionState::Idle;
        QString farEnd = QStringLiteral("sip:5557002@127.0.0.1");
        bool failCall = false, failAnswer = false, failTerminate = false;
    };

    explicit FakeEngine(std::shared_ptr<QStringList> calls) : calls(std::move(calls)) {}

    void initialize() override {}
    void setEventHandlers(EngineEvents e) override { events = std::move(e); }
    void enableAccount(const AccountSettings& account) override {
        if (failEnableAccount)
            throw EngineError(EngineFailure::BadAccount, QStringLiteral("Bad server"));
        enabled = account.account + ' ' + account.password + ' ' + account.server;
    }
    void setMaxBitrate(int) override {}
    std::shared_ptr<ISession> createSession(CallRoute route) override {
        *calls << (route == CallRoute::Direct ? QStringLiteral("CreateSession direct")
                                              : QStringLiteral("CreateSession via account"));
        if (failCreateSession)
            throw EngineError(EngineFailure::CallNotCreated, QStringLiteral("No call"));
        lastSession = std::make_shared<Session>(*calls);
        lastSession->failCall = failCall;
        return lastSession;
    }
    void playRing(bool play) override { *calls << QStringLiteral("PlayRing %1").arg(play); }
    void sendDtmf(int code) override { *calls << QStringLiteral("SendDTMF %1").arg(code); }
    void invokeTuningWizard(QWidget*) override { *calls << QStringLiteral("TuningWizard"); }
    void shutdown() override { *calls << QStringLiteral("Shutdown"); }

    void reportRegistration(RegistrationState state) {
        if (events.registration) events.registration(state);
    }
    void raise(SessionState state, const std::shared_ptr<ISession>& session) {
        if (events.session) events.session(session, state);
    }

    std::shared_ptr<QStringList> calls;
    EngineEvents events;
    QString enabled;  // the account enabled last: "account password server"
    std::shared_ptr<Session> lastSession;
    bool failEnableAccount = false, failCreateSession = false, failCall = false;
};

// The phone and its handset window over the engine `engine` makes, settings in a file of its own,
// recorded message boxes, scripted dialogs and sounds, and a fake desktop.
class Handset {
public:
    explicit Handset(EngineFactory engine)
        : phone({store, messages, player, std::move(engine)}),
          window(phone, {messages, windows, player}) {
        window.useDeskServices(desk.services(player));
    }

    QString status() const { return window.statusLabel->text(); }
    // Dial as the user presses it; returns once the number has been dialled.
    void dial(const QString& number) {
        window.numberBox->setEditText(number);
        window.onDialClicked();
        waitUntil([this] { return !phone.dialling(); });
    }

    QTemporaryDir dir;
    IniSettingsStore store{dir.filePath("Softphone.conf")};
    RecordingMessageBox messages;
    ScriptedWindows windows;
    RecordingSoundPlayer player;
    FakeDesk desk;
    PhoneController phone;
    HandsetWindow window;
};

// The handset over a fake engine.
class FakePhone : public Handset {
public:
    FakePhone()
        : Handset([this] {
              if (noEngine) throw EngineError(EngineFailure::Unavailable, "none");
              auto e = std::make_unique<FakeEngine>(calls);
              engine = e.get();
              return e;
          }) {}

    void saveLogin(const QString& sip, const QString& account, const QString& password,
                   const QString& save = QStringLiteral("yes")) {
        writeSavedValue(store, "Sip", sip);
        writeSavedValue(store, "Account", account);
        writeSavedValue(store, "Password", password);
        writeSavedValue(store, "Save", save);
    }

    // Started and registered, as most call tests need it.
    void startRegistered() {
        saveLogin("127.0.0.1:5070", "12345678901", "pw");
        window.start();
        engine->reportRegistration(RegistrationState::Registered);
        calls->clear();
    }

    std::shared_ptr<QStringList> calls = std::make_shared<QStringList>();
    FakeEngine* engine = nullptr;
    bool noEngine = false;
};

}  // namespace softphone::test
