#include "app/ModalWindows.h"

#include "app/NetworkDialog.h"
#include "dialer/TuningWizard.h"
#include "records/LoginDialog.h"
#include "records/PhoneBookDialog.h"
#include "records/RecentCallsDialog.h"

namespace softphone {

LoginOutcome QtModalWindows::showLogin(QWidget* owner) {
    LoginDialog dialog(store_, messages_, owner);
    switch (dialog.exec()) {
        case QDialog::Accepted: return LoginOutcome::LoggedIn;
        case LoginDialog::Exited: return LoginOutcome::Exited;
        default: return LoginOutcome::Closed;
    }
}

std::optional<QString> QtModalWindows::showPhoneBook(QWidget* owner) {
    PhoneBookDialog dialog(messages_, owner, phoneBookPath(),
                           readNetworkSettings(store_).internationalPrefix);
    dialog.exec();
    return dialog.chosenNumber();
}

std::optional<QString> QtModalWindows::showRecentCalls(QWidget* owner) {
    RecentCallsDialog dialog(owner);
    dialog.exec();
    return dialog.chosenNumber();
}

std::optional<NetworkSettings> QtModalWindows::showNetwork(QWidget* owner,
                                                           const NetworkSettings& current) {
    NetworkDialog dialog(current, owner);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.settings();
}

bool QtModalWindows::showTuningWizard(QWidget* owner) {
    if (tuning_.devices().empty()) return false;
    TuningWizard wizard(tuning_, owner);
    wizard.exec();
    // Calibrating keeps the choice too, so it counts also after Cancel.
    useChosenOutputs(tuning_, speaker_, ringer_);
    return true;
}

}  // namespace softphone
