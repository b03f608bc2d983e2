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

    void initialize() override;
    void setEventHandlers(EngineEvents events) override { events_ = std::move(events); }
    void enableAccount(const AccountSettings& account) override;
    void setMaxBitrate(int bitsPerSecond) override;
    std::shared_ptr<ISession> createSession(CallRoute route) override;
    void playRing(bool play) override;
    void sendDtmf(int code) override;
    void invokeTuningWizard(QWidget* owner) override;
    void shutdown() override;

private:
    class Listener;
    friend class Listener;
    friend class LinphoneSession;

    linphone::Core& startedCore();
    void queueSession(const std::shared_ptr<ISession>& session, SessionState state);
    void markBusy();
    void tick();
    void onRegistration(const std::shared_ptr<linphone::Account>& account, RegistrationState state);
    void onCallState(const std::shared_ptr<linphone::Call>& call, int linphoneState);
    void track(const std::shared_ptr<LinphoneSession>& session, linphone::Call* call);
    void scrubCredentials(const std::shared_ptr<linphone::Config>& config);
    void runTuningWizard(QWidget* owner);  // LinphoneTuning.cpp
    void useChosenOutputs();               // LinphoneTuning.cpp
    std::shared_ptr<linphone::ProxyConfig> anonymousRoute(const linphone::Address& destination);
    void listenOn(SipTransport transport);
    static QByteArray trustedCas(const NetworkSettings& network);
    void checkCertificate();

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
