#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <map>
#include <memory>

#include "app/SipEngine.h"

namespace linphone {
class Account;
class Call;
class Config;
class Core;
}  // namespace linphone

namespace softphone {

class LinphoneSession;
class LinphoneProfile;

// The SIP engine over liblinphone. No liblinphone type is seen outside this file pair.
class LinphoneEngine : public ISipEngine {
public:
    // `folder` holds the engine's configuration and databases.
    explicit LinphoneEngine(QString folder);
    ~LinphoneEngine() override;

    void Initialize() override;
    void SetEventFilter(int filter) override { eventFilter_ = filter; }
    void SetEventSink(EngineEventSink sink) override { sink_ = std::move(sink); }
    void SetListenForIncomingSessions(int mode) override;
    void SetPreferredMediaTypes(int mediaTypes, bool persistent) override;
    std::shared_ptr<IProfile> CreateProfile(const QString& xml) override;
    void EnableProfile(const std::shared_ptr<IProfile>& profile, int flags) override;
    void DisableProfile(const std::shared_ptr<IProfile>& profile) override;
    void SetMaxBitrate(int bitsPerSecond) override;
    std::shared_ptr<ISession> CreateSession(int type, const std::shared_ptr<IProfile>& profile,
                                            int flags) override;
    void PlayRing(int ringType, bool play) override;
    void SendDTMF(int code) override;
    void InvokeTuningWizard(QWidget* owner) override;
    void Shutdown() override;

private:
    class Listener;
    friend class Listener;
    friend class LinphoneSession;

    linphone::Core& Core();
    void Queue(int code, EngineEvent event);
    void MarkBusy();
    void Tick();
    void OnRegistration(const std::shared_ptr<linphone::Account>& account, int state);
    void OnCallState(const std::shared_ptr<linphone::Call>& call, int linphoneState);
    void Track(const std::shared_ptr<LinphoneSession>& session, linphone::Call* call);
    void ScrubCredentials(const std::shared_ptr<linphone::Config>& config);

    QString folder_;
    std::shared_ptr<linphone::Core> core_;
    std::shared_ptr<Listener> listener_;
    QObject context_;  // queued events die with it
    QTimer timer_;
    std::chrono::steady_clock::time_point busyUntil_;
    EngineEventSink sink_;
    int eventFilter_ = kEventFilterAll;
    std::shared_ptr<LinphoneProfile> current_;
    int lastRegState_ = -1;
    std::map<linphone::Call*, std::weak_ptr<LinphoneSession>> sessions_;
};

}  // namespace softphone
