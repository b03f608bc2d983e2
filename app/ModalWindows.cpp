#include "app/ModalWindows.h"

#include "app/frmSoftphone.h"
#include "records/frmLogin.h"

namespace softphone {

void QtModalWindows::ShowLogin(frmSoftphone& owner) {
    frmLogin dialog(store_, messages_, owner.lblBalance, &owner);
    dialog.exec();
}

}  // namespace softphone
