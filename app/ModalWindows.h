#pragma once

#include <QString>
#include <optional>

#include "records/NetworkSettings.h"

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
};

class IMessageBox;
class ISettingsStore;

class QtModalWindows : public IModalWindows {
public:
    QtModalWindows(ISettingsStore& store, IMessageBox& messages)
        : store_(store), messages_(messages) {}
    LoginOutcome showLogin(QWidget* owner) override;
    std::optional<QString> showPhoneBook(QWidget* owner) override;
    std::optional<QString> showRecentCalls(QWidget* owner) override;
    std::optional<NetworkSettings> showNetwork(QWidget* owner,
                                               const NetworkSettings& current) override;

private:
    ISettingsStore& store_;
    IMessageBox& messages_;
};

}  // namespace softphone
