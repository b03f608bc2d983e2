#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "app/LinphoneEngine.h"
#include "app/HandsetWindow.h"
#include "records/SettingsStore.h"
#include "records/LoginDialog.h"
#include "tests/support/FakeDesk.h"
#include "tests/support/Fakes.h"
#include "tests/support/RecordingSoundPlayer.h"

namespace softphone::test {

struct LoginAnswer {
    QString sip, account, password;
    bool save = true;
};

// Fills the real login dialog as a user would and presses LOGIN.
inline void AnswerLogin(HandsetWindow& owner, ISettingsStore& store, IMessageBox& messages,
                        const LoginAnswer& answer) {
    LoginDialog dialog(store, messages, owner.balanceLabel);
    dialog.sipBox->setText(answer.sip);
    dialog.accountBox->setText(answer.account);
    dialog.passwordBox->setText(answer.password);
    dialog.saveBox->setChecked(answer.save);
    dialog.loginButton->click();
}

// The main window with the real SIP engine, its own settings file and engine folder.
class Phone {
public:
    Phone()
        : store(dir.filePath("Softphone.conf")),
          window(HandsetWindow::Services{store, messages, windows, player, [this] {
                                             return std::make_unique<LinphoneEngine>(
                                                 EngineDir(), player, player);
                                         }}) {
        window.UseDeskServices(desk.Services(player));
    }

    QString EngineDir() const { return dir.filePath("engine"); }
    QString Status() const { return window.statusLabel->text(); }

    void Start(const LoginAnswer& answer) {
        windows.onLogin = [this, answer](HandsetWindow& owner) {
            AnswerLogin(owner, store, messages, answer);
        };
        window.Start();
    }

    QTemporaryDir dir;
    IniSettingsStore store;
    RecordingMessageBox messages;
    ScriptedWindows windows;
    RecordingSoundPlayer player;
    FakeDesk desk;
    HandsetWindow window;
};

}  // namespace softphone::test
