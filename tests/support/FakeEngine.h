#pragma once

#include <QStringList>
#include <memory>

#include "app/SipEngine.h"

namespace softphone::test {

// Records what the window asks of the engine; tests deliver events through `Raise`.
class FakeEngine : public ISipEngine {
public:
    class Session : public ISession {
    public:
        explicit Session(QStringList& calls, int state = kSessionIdle)
            : calls_(calls), state(state) {}
        int State() const override { return state; }
        QString RemoteParty() const override { return remoteParty; }
        std::shared_ptr<IParticipant> AddParticipant(const QString& uri,
                                                     const QString& name) override {
            calls_ << QStringLiteral("AddParticipant %1 %2").arg(uri, name);
            if (failAddParticipant) throw EngineError(486, QStringLiteral("Busy Here"));
            return std::make_shared<Participant>(uri);
        }
        void Answer() override {
            calls_ << QStringLiteral("Answer");
            if (failAnswer) throw EngineError(kErrorNoCall, QStringLiteral("No call"));
        }
        void Terminate(int reason) override {
            calls_ << QStringLiteral("Terminate %1").arg(reason);
            if (failTerminate) throw EngineError(kErrorNoCall, QStringLiteral("No call"));
        }

        QStringList& calls_;
        int state;
        QString remoteParty = QStringLiteral("sip:5557002@127.0.0.1");
        bool failAddParticipant = false;
        bool failAnswer = false;
        bool failTerminate = false;
    };

    struct Participant : IParticipant {
        explicit Participant(QString u) : uri(std::move(u)) {}
        QString Uri() const override { return uri; }
        QString uri;
    };

    struct Profile : IProfile {
        explicit Profile(QString x) : xml(std::move(x)) {}
        QString xml;
    };

    explicit FakeEngine(std::shared_ptr<QStringList> calls) : calls(std::move(calls)) {}

    void Initialize() override {
        *calls << QStringLiteral("Initialize");
        if (failInitialize) throw EngineError(kErrorEngineUnavailable, QStringLiteral("No engine"));
    }
    void SetEventFilter(int filter) override {
        *calls << QStringLiteral("EventFilter %1").arg(filter);
    }
    void SetEventSink(EngineEventSink s) override {
        *calls << QStringLiteral("EventSink");
        sink = std::move(s);
    }
    void SetListenForIncomingSessions(int mode) override {
        *calls << QStringLiteral("Listen %1").arg(mode);
    }
    void SetPreferredMediaTypes(int types, bool persistent) override {
        *calls << QStringLiteral("MediaTypes %1 %2").arg(types).arg(persistent);
    }
    std::shared_ptr<IProfile> CreateProfile(const QString& xml) override {
        *calls << QStringLiteral("CreateProfile");
        if (failCreateProfile) throw EngineError(kErrorBadProfile, QStringLiteral("Bad XML"));
        return std::make_shared<Profile>(xml);
    }
    void EnableProfile(const std::shared_ptr<IProfile>& profile, int flags) override {
        *calls << QStringLiteral("EnableProfile %1").arg(flags);
        if (failEnableProfile) throw EngineError(kErrorBadProfile, QStringLiteral("Bad server"));
        enabled = profile;
    }
    void SetMaxBitrate(int bps) override { *calls << QStringLiteral("MaxBitrate %1").arg(bps); }
    std::shared_ptr<ISession> CreateSession(int type, const std::shared_ptr<IProfile>& profile,
                                            int flags) override {
        *calls << QStringLiteral("CreateSession %1 %2 %3")
                      .arg(type)
                      .arg(profile ? QStringLiteral("profile") : QStringLiteral("none"))
                      .arg(flags);
        if (failCreateSession) throw EngineError(kErrorCallNotCreated, QStringLiteral("No call"));
        lastSession = std::make_shared<Session>(*calls);
        lastSession->failAddParticipant = failAddParticipant;
        return lastSession;
    }
    void PlayRing(int type, bool play) override {
        *calls << QStringLiteral("PlayRing %1 %2").arg(type).arg(play);
    }
    void SendDTMF(int code) override { *calls << QStringLiteral("SendDTMF %1").arg(code); }
    void InvokeTuningWizard(QWidget*) override { *calls << QStringLiteral("TuningWizard"); }
    void Shutdown() override { *calls << QStringLiteral("Shutdown"); }

    void Raise(int code, EngineEvent event) {
        if (sink) sink(code, event);
    }

    std::shared_ptr<QStringList> calls;
    EngineEventSink sink;
    std::shared_ptr<IProfile> enabled;
    std::shared_ptr<Session> lastSession;
    bool failInitialize = false;
    bool failCreateProfile = false;
    bool failEnableProfile = false;
    bool failCreateSession = false;
    bool failAddParticipant = false;
};

}  // namespace softphone::test
