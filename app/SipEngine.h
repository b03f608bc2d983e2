#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

class QWidget;

namespace softphone {

// Event codes delivered to the event sink.
inline constexpr int kEventRegistrationState = 1;
inline constexpr int kEventSessionState = 2;
inline constexpr int kEventMedia = 5;
inline constexpr int kEventFilterAll = 39;  // client, registration, session state and media

// Registration states.
inline constexpr int kRegNotRegistered = 0;
inline constexpr int kRegRegistering = 1;
inline constexpr int kRegRegistered = 2;
inline constexpr int kRegRejected = 3;
inline constexpr int kRegUnregistering = 4;
inline constexpr int kRegError = 5;
inline constexpr int kRegLoggedOff = 6;

// Session states.
inline constexpr int kSessionIdle = 0;
inline constexpr int kSessionIncoming = 1;
inline constexpr int kSessionAnswering = 2;
inline constexpr int kSessionInProgress = 3;
inline constexpr int kSessionConnected = 4;
inline constexpr int kSessionDisconnected = 5;

// Session kinds and flags for CreateSession.
inline constexpr int kSessionPcToPc = 0;
inline constexpr int kSessionPcToPhone = 1;
inline constexpr int kSessionForceProfile = 1;

// Terminate reasons.
inline constexpr int kTerminateNormal = 0;
inline constexpr int kTerminateBusy = 2;
inline constexpr int kTerminateReject = 3;
inline constexpr int kTerminateShutdown = 5;

// Ring types for PlayRing.
inline constexpr int kRingPhone = 0;
inline constexpr int kRingBack = 2;

inline constexpr int kRegisterAll = 7;            // EnableProfile flags
inline constexpr int kListenBothPorts = 2;        // ListenForIncomingSessions mode
inline constexpr int kMediaAudioSendReceive = 3;  // SetPreferredMediaTypes

// Error numbers of the engine layer for failures that have no SIP status code.
inline constexpr int kErrorEngineUnavailable = 9001;
inline constexpr int kErrorBadProfile = 9002;
inline constexpr int kErrorCallNotCreated = 9003;
inline constexpr int kErrorNoCall = 9004;
inline constexpr int kErrorNoWizard = 9005;

// Every failed engine operation raises this: a SIP status code and its reason phrase, or an
// engine-layer number and a plain description.
class EngineError : public std::runtime_error {
public:
    EngineError(int number, const QString& description)
        : std::runtime_error(description.toStdString()),
          number_(number),
          description_(description) {}
    int Number() const { return number_; }
    const QString& Description() const { return description_; }

private:
    int number_;
    QString description_;
};

class IProfile {
public:
    virtual ~IProfile() = default;
};

class IParticipant {
public:
    virtual ~IParticipant() = default;
    virtual QString Uri() const = 0;
};

class ISession {
public:
    virtual ~ISession() = default;
    virtual int State() const = 0;
    // The far end's address, once known (the caller of an incoming call).
    virtual QString RemoteParty() const = 0;
    virtual std::shared_ptr<IParticipant> AddParticipant(const QString& uri,
                                                         const QString& name) = 0;
    virtual void Answer() = 0;
    virtual void Terminate(int reason) = 0;
};

struct EngineEvent {
    int state = 0;                      // registration or session state
    std::shared_ptr<ISession> session;  // session events
    int mediaType = 0;                  // media events
    int eventType = 0;
};

using EngineEventSink = std::function<void(int code, const EngineEvent& event)>;

// The SIP user agent as the main window uses it. Events reach the sink from the event loop,
// never from inside one of these calls.
class ISipEngine {
public:
    virtual ~ISipEngine() = default;
    virtual void Initialize() = 0;
    virtual void SetEventFilter(int filter) = 0;
    virtual void SetEventSink(EngineEventSink sink) = 0;
    virtual void SetListenForIncomingSessions(int mode) = 0;
    virtual void SetPreferredMediaTypes(int mediaTypes, bool persistent) = 0;
    virtual std::shared_ptr<IProfile> CreateProfile(const QString& xml) = 0;
    // Registers the profile's account in place of the one enabled before; a profile that is
    // refused (raised as an error) leaves the earlier registration as it was.
    virtual void EnableProfile(const std::shared_ptr<IProfile>& profile, int flags) = 0;
    virtual void SetMaxBitrate(int bitsPerSecond) = 0;
    virtual std::shared_ptr<ISession> CreateSession(int type,
                                                    const std::shared_ptr<IProfile>& profile,
                                                    int flags) = 0;
    virtual void PlayRing(int ringType, bool play) = 0;
    virtual void SendDTMF(int code) = 0;
    virtual void InvokeTuningWizard(QWidget* owner) = 0;
    // Hangs up, unregisters and stops; the program is ending.
    virtual void Shutdown() = 0;
};

using EngineFactory = std::function<std::unique_ptr<ISipEngine>()>;

}  // namespace softphone
