#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <map>
#include <memory>
#include <optional>

#include "app/LinphoneDtmf.h"
#include "app/SipEngine.h"
#include "app/StackSockets.h"

namespace linphone {
class Account;
class Call;
class Config;
class Core;
class ProxyConfig;
class Address;
}  // namespace linphone

namespace softphone {

class IAudioTuning;
class LinphoneAudioTuning;
class LinphoneSession;

// How often the engine runs without a packet: its sockets wake it at once; the clock serves
// only its own timers (retransmissions, refreshes, keep-alives), fast while a transaction
// is under way and in a call, once a second when idle.
struct EnginePace {
    std::chrono::milliseconds busyTick{2}, callTick{50}, idleTick{1000};
    std::chrono::milliseconds busySpell{2000};  // fast ticks after any request or event
};

// The SIP engine over liblinphone. No liblinphone type is seen outside this file pair and
// LinphoneAudioTuning.cpp.
class LinphoneEngine : public ISipEngine {
public:
    // `folder` holds the engine's configuration and databases.
    explicit LinphoneEngine(QString folder, EnginePace pace = {});
    ~LinphoneEngine() override;

    void initialize() override;
    void enableAccount(const AccountSettings& account) override;
    void unregister() override;
    void registerAgain() override;
    void setMaxBitrate(int bitsPerSecond) override;
    std::shared_ptr<ISession> createSession(CallRoute route) override;
    void sendDtmf(int code) override;
    void shutdown() override;

    // The engine's sound devices and echo calibration, for the tuning wizard; empty until the
    // engine has started.
    IAudioTuning& audioTuning();
    // Where the next call's audio arrives; chosen anew between calls, free of other sockets.
    int audioPort() const;

private:
    class Listener;
    friend class Listener;
    friend class LinphoneSession;
    friend class LinphoneAudioTuning;

    linphone::Core& startedCore();
    void queueSession(const std::shared_ptr<ISession>& session, SessionState state);
    void queueHold(const std::shared_ptr<ISession>& session);
    void markBusy();
    void tick();
    void onRegistration(const std::shared_ptr<linphone::Account>& account, RegistrationState state);
    void onCallState(const std::shared_ptr<linphone::Call>& call, int linphoneState);
    void track(const std::shared_ptr<LinphoneSession>& session, linphone::Call* call);
    void scrubCredentials(const std::shared_ptr<linphone::Config>& config);
    std::shared_ptr<linphone::Address> destination(const QString& number);
    std::shared_ptr<linphone::ProxyConfig> anonymousRoute(const linphone::Address& destination);
    void listenOn(SipTransport transport);
    void followSipPort();
    void pickAudioPort();
    void setRegistering(bool on);
    static QByteArray trustedCas(const NetworkSettings& network);
    void checkCertificate();

    QString folder_;
    EnginePace pace_;
    std::shared_ptr<linphone::Core> core_;
    std::shared_ptr<Listener> listener_;
    std::unique_ptr<LinphoneAudioTuning> tuning_;
    QObject context_;  // queued events die with it
    QTimer timer_;
    StackSockets sockets_;  // wake the engine when a packet arrives
    LinphoneDtmf dtmf_;
    int sipPort_ = 0;  // guarded against datagrams that hold no whole message
    std::chrono::steady_clock::time_point busyUntil_;
    bool tickQueued_ = false;
    unsigned streamsClosed_ = 0;                        // closedSipStreams() when last seen
    std::shared_ptr<linphone::Account> account_;        // the account registered now
    std::shared_ptr<linphone::ProxyConfig> anonymous_;  // route of PC-to-PC calls
    std::optional<RegistrationState> lastRegState_;
    std::optional<SipTransport> transport_;  // the one transport listening
    QByteArray trustedCas_;                  // PEM, as the engine has them
    QString stunServer_;                     // of the account's NAT policy; empty: none
    std::map<linphone::Call*, std::weak_ptr<LinphoneSession>> sessions_;
    std::shared_ptr<LinphoneSession> placing_;  // the session whose invitation is under way
};

}  // namespace softphone
