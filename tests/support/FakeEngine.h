#pragma once

#include <QStringList>
#include <memory>

#include "app/SipEngine.h"

namespace softphone::test {

// Records what the phone asks of the engine; tests deliver events through `Raise`.
class FakeEngine : public ISipEngine {
public:
    class Session : public ISession {
    public:
        explicit Session(QStringList& calls, SessionState state = SessionState::Idle)
            : calls_(calls), state(state) {}
        SessionState State() const override { return state; }
        QString RemoteParty() const override { return remoteParty; }
        bool MediaEncrypted() const override { return false; }
        EndCause Cause() const override { return cause; }
        void Call(const QString& uri) override {
            calls_ << QStringLiteral("Call %1").arg(uri);
            if (failCall) throw EngineError(486, QStringLiteral("Busy Here"));
        }
        void Answer() override {
            calls_ << QStringLiteral("Answer");
            if (failAnswer) throw EngineError(EngineFailure::NoCall, QStringLiteral("No call"));
        }
        void Terminate(HangUpReason reason) override {
            const char* names[] = {"normal", "busy", "reject", "shutdown"};
            calls_ << QStringLiteral("Terminate %1").arg(QLatin1String(names[int(reason)]));
            if (failTerminate) throw EngineError(EngineFailure::NoCall, QStringLiteral("No call"));
        }

        QStringList& calls_;
        SessionState state;
        QString remoteParty = QStringLiteral("sip:5557002@127.0.0.1");
        EndCause cause = EndCause::Other;
        bool failCall = false;
        bool failAnswer = false;
        bool failTerminate = false;
    };

    explicit FakeEngine(std::shared_ptr<QStringList> calls) : calls(std::move(calls)) {}

    void Initialize() override {
        *calls << QStringLiteral("Initialize");
        if (failInitialize)
            throw EngineError(EngineFailure::Unavailable, QStringLiteral("No engine"));
    }
    void SetEventHandlers(EngineEvents e) override { events = std::move(e); }
    void EnableAccount(const AccountSettings& account) override {
        *calls << QStringLiteral("EnableAccount %1 %2 %3")
                      .arg(account.account, account.password, account.server);
        if (failEnableAccount)
            throw EngineError(EngineFailure::BadAccount, QStringLiteral("Bad server"));
        enabled = account.account;
        network = account.network;
    }
    void SetMaxBitrate(int bps) override { *calls << QStringLiteral("MaxBitrate %1").arg(bps); }
    std::shared_ptr<ISession> CreateSession(CallRoute route) override {
        *calls << (route == CallRoute::Direct ? QStringLiteral("CreateSession direct")
                                              : QStringLiteral("CreateSession via account"));
        if (failCreateSession)
            throw EngineError(EngineFailure::CallNotCreated, QStringLiteral("No call"));
        lastSession = std::make_shared<Session>(*calls);
        lastSession->failCall = failCall;
        return lastSession;
    }
    void PlayRing(bool play) override { *calls << QStringLiteral("PlayRing %1").arg(play); }
    void SendDTMF(int code) override { *calls << QStringLiteral("SendDTMF %1").arg(code); }
    void InvokeTuningWizard(QWidget*) override { *calls << QStringLiteral("TuningWizard"); }
    void Shutdown() override { *calls << QStringLiteral("Shutdown"); }

    void Register(RegistrationState state) {
        if (events.registration) events.registration(state);
    }
    void RefuseCertificate(const QString& reason) {
        if (events.certificateRefused) events.certificateRefused(reason);
    }
    void Raise(SessionState state, const std::shared_ptr<ISession>& session) {
        if (events.session) events.session(session, state);
    }

    std::shared_ptr<QStringList> calls;
    EngineEvents events;
    QString enabled;          // the account enabled last
    NetworkSettings network;  // and how it was to be reached
    std::shared_ptr<Session> lastSession;
    bool failInitialize = false;
    bool failEnableAccount = false;
    bool failCreateSession = false;
    bool failCall = false;
};

}  // namespace softphone::test
