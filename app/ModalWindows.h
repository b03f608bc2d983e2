#pragma once

#include <QString>
#include <optional>

#include "app/NetworkSettings.h"

class QWidget;

namespace softphone {

enum class LoginOutcome { LoggedIn, Exited, Closed };  // LOGIN, EXIT, Escape or closed

// The modal windows the handset opens; tests substitute a script of the user's answers.
class IModalWindows {
public:
    virtual ~IModalWindows() = default;
    virtual LoginOutcome showLogin(QWidget* owner) = 0;
    // The number the user chose to call, if any.
    virtual std::optional<QString> showPhoneBook(QWidget* owner) = 0;
    virtual std::optional<QString> showRecentCalls(QWidget* owner) = 0;
    // The network settings the user chose in place of `current`; none when cancelled.
    virtual std::optional<NetworkSettings> showNetwork(QWidget* owner,
                                                       const NetworkSettings& current) = 0;
    // False when there are no sound devices to tune.
    virtual bool showTuningWizard(QWidget* owner) = 0;
};

class IAudioTuning;
class IMessageBox;
class ISettingsStore;
class ISoundPlayer;

class QtModalWindows : public IModalWindows {
public:
    // The wizard tunes the engine's devices through `tuning`; the speaker and ringer players
    // follow its choice.
    QtModalWindows(ISettingsStore& store, IMessageBox& messages, IAudioTuning& tuning,
                   ISoundPlayer& speaker, ISoundPlayer& ringer)
        : store_(store), messages_(messages), tuning_(tuning), speaker_(speaker), ringer_(ringer) {}
    LoginOutcome showLogin(QWidget* owner) override;
    std::optional<QString> showPhoneBook(QWidget* owner) override;
    std::optional<QString> showRecentCalls(QWidget* owner) override;
    std::optional<NetworkSettings> showNetwork(QWidget* owner,
                                               const NetworkSettings& current) override;
    bool showTuningWizard(QWidget* owner) override;

private:
    ISettingsStore& store_;
    IMessageBox& messages_;
    IAudioTuning& tuning_;
    ISoundPlayer& speaker_;
    ISoundPlayer& ringer_;
};

}  // namespace softphone
