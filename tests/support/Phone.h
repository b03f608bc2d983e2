#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "app/LinphoneEngine.h"
#include "app/frmSoftphone.h"
#include "records/SettingsStore.h"
#include "records/frmLogin.h"
#include "tests/support/FakeDesk.h"
#include "tests/support/Fakes.h"
#include "tests/support/RecordingSoundPlayer.h"

namespace softphone::test {

struct LoginAnswer {
    QString sip, account, password;
    bool save = true;
};

// Fills the real login dialog as a user would and presses LOGIN.
inline void AnswerLogin(frmSoftphone& owner, ISettingsStore& store, IMessageBox& messages,
                        const LoginAnswer& answer) {
    frmLogin dialog(store, messages, owner.lblBalance);
    dialog.txtSip->setText(answer.sip);
    dialog.txtAcctNo->setText(answer.account);
    dialog.txtPassword->setText(answer.password);
    dialog.chkbxSaveSettings->setChecked(answer.save);
    dialog.cmdLogin->click();
}

// The main window with the real SIP engine, its own settings file and engine folder.
class Phone {
public:
    Phone()
        : store(dir.filePath("Softphone.conf")),
          window(frmSoftphone::Services{store, messages, windows, player, [this] {
                                             return std::make_unique<LinphoneEngine>(
                                                 EngineDir(), player, player);
                                         }}) {
        window.UseDeskServices(desk.Services(player));
    }

    QString EngineDir() const { return dir.filePath("engine"); }
    QString Status() const { return window.lblMsg->text(); }

    void Start(const LoginAnswer& answer) {
        windows.onLogin = [this, answer](frmSoftphone& owner) {
            AnswerLogin(owner, store, messages, answer);
        };
        window.FormLoad();
    }

    QTemporaryDir dir;
    IniSettingsStore store;
    RecordingMessageBox messages;
    ScriptedWindows windows;
    RecordingSoundPlayer player;
    FakeDesk desk;
    frmSoftphone window;
};

}  // namespace softphone::test
