#include "app/ModalWindows.h"

#include "app/HandsetWindow.h"
#include "records/LoginDialog.h"
#include "records/PhoneBookDialog.h"
#include "records/RecentCallsDialog.h"

namespace softphone {

bool QtModalWindows::ShowLogin(HandsetWindow& owner) {
    LoginDialog dialog(store_, messages_, owner.balanceLabel, &owner);
    return dialog.exec() == QDialog::Accepted;
}

void QtModalWindows::ShowPhoneBook(HandsetWindow& owner) {
    PhoneBookDialog dialog(messages_, owner.numberBox, &owner);
    dialog.exec();
}

void QtModalWindows::ShowRecentCalls(HandsetWindow& owner) {
    RecentCallsDialog dialog(owner.numberBox, &owner);
    dialog.exec();
}

}  // namespace softphone
