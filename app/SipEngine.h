#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

#include "app/NetworkSettings.h"

namespace softphone {

enum class RegistrationState {
    NotRegistered,
    Registering,
    Registered,
    Rejected,  // the server refused the account (401, 403, 404)
    Unregistering,
    Failed,  // any other failure; the engine retries by itself
    LoggedOff,
};

// A call's states, each reported once per call in this order (Answering only when answered).
enum class SessionState { Idle, Incoming, Answering, InProgress, Connected, Disconnected };

// A call rings or runs: it holds the line until it is disconnected.
constexpr bool isActive(SessionState state) {
    return state >= SessionState::Incoming && state <= SessionState::Connected;
}

// How a call reaches its far end: through the registered account (its identity and
// credentials), or directly, with no account identity at all.
enum class CallRoute { ViaAccount, Direct };

enum class HangUpReason { Normal, Busy, Reject, Shutdown };

// Why a call ended, where the phone tells more than that it ended.
enum class EndCause { Other, PlainMediaRefused };

// The engine layer's own error numbers, for failures that have no SIP status code. They are
// shown to the user as numbers ("Error:  9004").
enum class EngineFailure {
    Unavailable = 9001,
    BadAccount = 9002,
    CallNotCreated = 9003,
    NoCall = 9004,
};

// Every failed engine operation raises this: a SIP status code and its reason phrase, or an
// engine-layer number and a plain description.
class EngineError : public std::runtime_error {
public:
    EngineError(int number, const QString& description)
        : std::runtime_error(description.toStdString()),
          number_(number),
          description_(description) {}
    EngineError(EngineFailure failure, const QString& description)
        : EngineError(int(failure), description) {}
    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

// The account to register: the server as the user typed it (it may carry a port), and how to
// reach it.
struct AccountSettings {
    QString account, password, server, displayName;
    NetworkSettings network;
};

// The far end of a call as its address names it.
struct Party {
    QString number;  // the address's user part, decoded; empty when it has none
    QString displayName;
    QString address;  // the whole SIP address
};

// RTP packets of a call's audio, as the engine counted them.
struct AudioPackets {
    quint64 sent = 0, received = 0;
};

// Who holds a connected call: the phone (its audio to the far end stops), the far end, or both.
struct Hold {
    bool byPhone = false, byFarEnd = false;
    bool operator==(const Hold&) const = default;
};

// The line of a call as the engine measures it.
struct LineStats {
    QString codec;           // "PCMU/8000"; empty before the audio runs
    double lossPercent = 0;  // of the far end's packets, lost on the way
    double jitterMs = 0;
    double roundTripMs = 0;
    bool encrypted = false;
    double quality = 5;  // the engine's rating, 0 (unusable) to 5 (perfect)
};

class ISession {
public:
    virtual ~ISession() = default;
    virtual SessionState state() const = 0;
    // Once known (the caller of an incoming call).
    virtual Party farEnd() const = 0;
    // The call's audio is encrypted (SRTP).
    virtual bool mediaEncrypted() const = 0;
    // Once disconnected.
    virtual EndCause cause() const = 0;
    // So far in the call; none where the engine counts none.
    virtual AudioPackets audio() const { return {}; }
    // Places the call to `number` at the account's server; its states follow as signals.
    virtual void call(const QString& number) = 0;
    virtual void answer() = 0;
    virtual void terminate(HangUpReason reason) = 0;
    // The far end hears silence; the audio packets keep flowing, so routers' bindings and the
    // far end's timers stay alive.
    virtual void setMicrophoneMuted(bool muted) = 0;
    // Holds the far end with a re-INVITE (sendonly, or inactive when it holds too), or resumes.
    virtual void setHeld(bool held) = 0;
    virtual Hold hold() const = 0;
    virtual LineStats line() const = 0;
};

// The SIP user agent as the phone uses it: accounts, calls and DTMF. Its signals come from the
// event loop, never from inside one of its calls.
class ISipEngine : public QObject {
    Q_OBJECT
public:
    virtual void initialize() = 0;
    // Registers the account in place of the one enabled before; an account that is refused
    // (raised as an error) leaves the earlier registration as it was.
    virtual void enableAccount(const AccountSettings& account) = 0;
    // Before the machine sleeps: the account unregisters now and stays the engine's.
    virtual void unregister() = 0;
    // On waking the router's binding, and perhaps the registrar's, are gone: the account
    // registers again at once and reports its registration afresh.
    virtual void registerAgain() = 0;
    // Caps the bit rate of the codecs whose rate can be chosen.
    virtual void setMaxBitrate(int bitsPerSecond) = 0;
    virtual std::shared_ptr<ISession> createSession(CallRoute route) = 0;
    // 0-9, 10 for "*", 11 for "#", to the far end of the current call.
    virtual void sendDtmf(int code) = 0;
    // Hangs up, unregisters and stops; the program is ending.
    virtual void shutdown() = 0;

signals:
    // Reported only when it changes, and only for the account enabled last.
    void registrationChanged(RegistrationState state);
    void sessionChanged(const std::shared_ptr<ISession>& session, SessionState state);
    // The session's hold() changed.
    void holdChanged(const std::shared_ptr<ISession>& session);
    // The server's TLS certificate did not verify, for the reason given; nothing was sent to it.
    void certificateRefused(const QString& reason);
};

using EngineFactory = std::function<std::unique_ptr<ISipEngine>()>;

}  // namespace softphone
