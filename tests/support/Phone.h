#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "app/HandsetWindow.h"
#include "app/LinphoneEngine.h"
#include "records/LoginDialog.h"
#include "records/SettingsStore.h"
#include "tests/support/FakeDesk.h"
#include "tests/support/Fakes.h"
#include "tests/support/Wait.h"

namespace softphone::test {

struct LoginAnswer {
    QString sip, account, password;
    bool save = true;
};

// Fills the real login dialog as a user would and presses LOGIN.
inline void AnswerLogin(ISettingsStore& store, IMessageBox& messages, const LoginAnswer& answer) {
    LoginDialog dialog(store, messages);
    dialog.sipBox->setText(answer.sip);
    dialog.accountBox->setText(answer.account);
    dialog.passwordBox->setText(answer.password);
    dialog.saveBox->setChecked(answer.save);
    dialog.loginButton->click();
}

// The phone and its handset with the real SIP engine, its own settings file and engine folder.
class Phone {
public:
    Phone()
        : store(dir.filePath("Softphone.conf")),
          phone({store, messages, player,
                 [this] { return std::make_unique<LinphoneEngine>(EngineDir(), player, player); }}),
          window(phone, {messages, windows, player}) {
        window.UseDeskServices(desk.Services(player));
    }

    QString EngineDir() const { return dir.filePath("engine"); }
    QString Status() const { return window.statusLabel->text(); }
    bool Registered() const { return phone.Registration() == RegistrationState::Registered; }
    bool Connected() const { return Status().startsWith("CONNECTED"); }

    void Start(const LoginAnswer& answer) {
        LogInAs(answer);
        window.Start();
    }
    // What the login dialog is answered with from now on.
    void LogInAs(const LoginAnswer& answer) {
        windows.onLogin = [this, answer] { AnswerLogin(store, messages, answer); };
    }
    // Dial as the user presses it; returns once the number has been dialled.
    void Dial(const QString& number) {
        window.numberBox->setEditText(number);
        window.OnDialClicked();
        WaitUntil([this] { return !phone.Dialling(); });
    }

    QTemporaryDir dir;
    IniSettingsStore store;
    RecordingMessageBox messages;
    ScriptedWindows windows;
    RecordingSoundPlayer player;
    FakeDesk desk;
    PhoneController phone;
    HandsetWindow window;
};

}  // namespace softphone::test
