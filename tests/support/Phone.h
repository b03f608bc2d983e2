#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/LinphoneEngine.h"
#include "records/LoginDialog.h"
#include "tests/support/FakePhone.h"

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

// The handset with the real SIP engine, its folder beside the settings file.
class Phone : public Handset {
public:
    Phone()
        : Handset(
              [this] { return std::make_unique<LinphoneEngine>(EngineDir(), player, player); }) {}

    QString EngineDir() const { return dir.filePath("engine"); }
    bool Registered() const { return phone.Registration() == RegistrationState::Registered; }
    bool Connected() const { return Status().startsWith("CONNECTED"); }
    // Whether the status line comes to begin with `status` within `timeoutMs`; if not, what it
    // reads.
    ::testing::AssertionResult Shows(const QString& status, int timeoutMs = 5000) const {
        if (WaitUntil([&] { return Status().startsWith(status); }, timeoutMs))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the status line reads " << Status().toStdString();
    }

    void Start(const LoginAnswer& answer) {
        LogInAs(answer);
        window.Start();
    }
    // What the login dialog is answered with from now on.
    void LogInAs(const LoginAnswer& answer) {
        windows.onLogin = [this, answer] { AnswerLogin(store, messages, answer); };
    }
};

}  // namespace softphone::test
