#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <map>
#include <memory>
#include <optional>

#include "app/SipEngine.h"

namespace linphone {
class Account;
class Call;
class Config;
class Core;
class ProxyConfig;
class Address;
}  // namespace linphone

namespace softphone {

class ISoundPlayer;
class LinphoneSession;

// The SIP engine over liblinphone. No liblinphone type is seen outside this file pair.
class LinphoneEngine : public ISipEngine {
public:
    // `folder` holds the engine's configuration and databases; the phone ring plays through
    // `ringer`. The two players are kept on the ringer and speaker devices chosen in the engine's
    // configuration (by the tuning wizard).
    LinphoneEngine(QString folder, ISoundPlayer& ringer, ISoundPlayer& speaker);
    ~LinphoneEngine() override;

    void Initialize() override;
    void SetEventHandlers(EngineEvents events) override { events_ = std::move(events); }
    void EnableAccount(const AccountSettings& account) override;
    void SetMaxBitrate(int bitsPerSecond) override;
    std::shared_ptr<ISession> CreateSession(CallRoute route) override;
    void PlayRing(bool play) override;
    void SendDTMF(int code) override;
    void InvokeTuningWizard(QWidget* owner) override;
    void Shutdown() override;

private:
    class Listener;
    friend class Listener;
    friend class LinphoneSession;

    linphone::Core& Core();
    void QueueSession(const std::shared_ptr<ISession>& session, SessionState state);
    void MarkBusy();
    void Tick();
    void OnRegistration(const std::shared_ptr<linphone::Account>& account, RegistrationState state);
    void OnCallState(const std::shared_ptr<linphone::Call>& call, int linphoneState);
    void Track(const std::shared_ptr<LinphoneSession>& session, linphone::Call* call);
    void ScrubCredentials(const std::shared_ptr<linphone::Config>& config);
    void RunTuningWizard(QWidget* owner);  // LinphoneTuning.cpp
    void UseChosenOutputs();               // LinphoneTuning.cpp
    std::shared_ptr<linphone::ProxyConfig> AnonymousRoute(const linphone::Address& destination);
    void ListenOn(SipTransport transport);
    static QByteArray TrustedCas(const NetworkSettings& network);
    void CheckCertificate();

    QString folder_;
    ISoundPlayer& ringer_;
    ISoundPlayer& speaker_;
    std::shared_ptr<linphone::Core> core_;
    std::shared_ptr<Listener> listener_;
    QObject context_;  // queued events die with it
    QTimer timer_;
    int sipPort_ = 0;  // guarded against datagrams that hold no whole message
    std::chrono::steady_clock::time_point busyUntil_;
    bool tickQueued_ = false;
    EngineEvents events_;
    std::shared_ptr<linphone::Account> account_;        // the account registered now
    std::shared_ptr<linphone::ProxyConfig> anonymous_;  // route of PC-to-PC calls
    std::optional<RegistrationState> lastRegState_;
    std::optional<SipTransport> transport_;  // the one transport listening
    QByteArray trustedCas_;                  // PEM, as the engine has them
    std::map<linphone::Call*, std::weak_ptr<LinphoneSession>> sessions_;
    std::shared_ptr<LinphoneSession> placing_;  // the session whose invitation is under way
};

}  // namespace softphone
