#include "app/ModalWindows.h"

#include "app/frmSoftphone.h"
#include "records/frmLogin.h"
#include "records/frmPhoneBook.h"
#include "records/frmRecent.h"

namespace softphone {

bool QtModalWindows::ShowLogin(frmSoftphone& owner) {
    frmLogin dialog(store_, messages_, owner.lblBalance, &owner);
    return dialog.exec() == QDialog::Accepted;
}

void QtModalWindows::ShowPhoneBook(frmSoftphone& owner) {
    frmPhoneBook dialog(messages_, owner.cmbPhoneNo, &owner);
    dialog.exec();
}

void QtModalWindows::ShowRecentCalls(frmSoftphone& owner) {
    frmRecent dialog(owner.cmbPhoneNo, &owner);
    dialog.exec();
}

}  // namespace softphone
