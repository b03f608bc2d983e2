#include "app/ModalWindows.h"

#include "records/LoginDialog.h"
#include "records/NetworkDialog.h"
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
    PhoneBookDialog dialog(messages_, owner);
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

}  // namespace softphone
