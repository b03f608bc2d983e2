#pragma once

#include <QString>
#include <optional>

namespace softphone {

class ISettingsStore;

// The login as the login dialog saved it: four values, each under its own application name
// ("Account", "Password", "Sip", "Save") in section "Parameters", key "Validation"; a missing
// value reads as empty.
struct SavedLogin {
    QString account, password, sip;
    // Whether the user ticked Save ("yes" or "no" on disk); none before the first login.
    std::optional<bool> save;

    static SavedLogin read(const ISettingsStore& store);
    void write(ISettingsStore& store) const;
};

// The close button's rule: a login the user did not want saved is erased (Save "no" only).
void forgetUnsavedLogin(ISettingsStore& store);

}  // namespace softphone
