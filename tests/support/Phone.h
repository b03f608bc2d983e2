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
inline void answerLogin(ISettingsStore& store, IMessageBox& messages, const LoginAnswer& answer) {
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
    explicit Phone(EnginePace pace = {})
        : Handset([this, pace] {
              auto made = std::make_unique<LinphoneEngine>(engineDir(), pace);
              engine = made.get();
              return made;
          }) {}

    QString engineDir() const { return dir.filePath("engine"); }
    bool registered() const { return phone.registration() == RegistrationState::Registered; }
    bool connected() const { return status().startsWith("CONNECTED"); }
    // Whether the status line comes to begin with `status` within `timeoutMs`; if not, what it
    // reads.
    ::testing::AssertionResult shows(const QString& expected, int timeoutMs = 5000) const {
        if (waitUntil([&] { return status().startsWith(expected); }, timeoutMs))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the status line reads " << status().toStdString();
    }

    void start(const LoginAnswer& answer) {
        logInAs(answer);
        window.start();
    }
    // What the login dialog is answered with from now on.
    void logInAs(const LoginAnswer& answer) {
        windows.onLogin = [this, answer] { answerLogin(store, messages, answer); };
    }

    LinphoneEngine* engine = nullptr;  // once started; the window owns it
};

}  // namespace softphone::test
