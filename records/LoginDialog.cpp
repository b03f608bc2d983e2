#include "records/LoginDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "records/SettingsStore.h"
#include "support/MessageBox.h"
#include "support/Skin.h"
#include "support/Twips.h"

namespace softphone {
namespace {

QLabel* WhiteLabel(const QString& text, QRect place, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    return label;
}

QLineEdit* Box(QRect place, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(place);
    return box;
}

QPushButton* Button(const QString& caption, QRect place, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(place);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

LoginDialog::LoginDialog(ISettingsStore& store, IMessageBox& messages, QWidget* parent)
    : QDialog(parent), store_(store), messages_(messages) {
    setWindowTitle(tr("Please Enter Your Pin"));
    setObjectName(QStringLiteral("LoginDialog"));
    ApplyDialogSkin(this, WindowSkin::Login);

    WhiteLabel(tr("Sip IP/Domain"), TwipsRect(240, 480, 1095, 255), this);
    WhiteLabel(tr("Account/Pin"), TwipsRect(240, 840, 1095, 255), this);
    WhiteLabel(tr("Password"), TwipsRect(360, 1200, 975, 255), this);
    sipBox = Box(TwipsRect(1440, 480, 1575, 285), this);
    accountBox = Box(TwipsRect(1440, 840, 1575, 285), this);
    accountBox->setMaxLength(15);
    passwordBox = Box(TwipsRect(1440, 1200, 1575, 285), this);
    saveBox = new QCheckBox(tr("Save "), this);
    saveBox->setGeometry(TwipsRect(2040, 1680, 855, 255));
    saveBox->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    loginButton = Button(tr("LOGIN"), TwipsRect(600, 2160, 800, 300), this);
    exitButton = Button(tr("EXIT"), TwipsRect(1800, 2160, 800, 300), this);

    setTabOrder(sipBox, accountBox);
    setTabOrder(accountBox, passwordBox);
    setTabOrder(passwordBox, saveBox);
    setTabOrder(saveBox, loginButton);
    setTabOrder(loginButton, exitButton);

    connect(loginButton, &QPushButton::clicked, this, &LoginDialog::LoginClicked);
    connect(exitButton, &QPushButton::clicked, this, &LoginDialog::ExitClicked);
    Start();
}

void LoginDialog::Start() {
    ReadProfile();
    if (account_.isEmpty() && password_.isEmpty() && sipServer_.isEmpty()) return;
    saveBox->setChecked(true);
    if (!sipServer_.isEmpty()) sipBox->setText(sipServer_);
    if (!account_.isEmpty()) accountBox->setText(account_);
    if (!password_.isEmpty()) passwordBox->setText(password_);
}

void LoginDialog::ReadProfile() {
    password_ = ReadSavedValue(store_, QStringLiteral("Password"));
    account_ = ReadSavedValue(store_, QStringLiteral("Account"));
    sipServer_ = ReadSavedValue(store_, QStringLiteral("Sip"));
}

void LoginDialog::SaveProfile() {
    WriteSavedValue(store_, QStringLiteral("Password"), password_);
    WriteSavedValue(store_, QStringLiteral("Account"), account_);
    WriteSavedValue(store_, QStringLiteral("Sip"), sipServer_);
}

void LoginDialog::LoginClicked() {
    if (accountBox->text().isEmpty() || passwordBox->text().isEmpty()) {
        messages_.Show(this, tr("User Name and Password must not be blank"));
        return;
    }
    account_ = accountBox->text();
    sipServer_ = sipBox->text();
    password_ = passwordBox->text();
    SaveProfile();
    save_ = saveBox->isChecked() ? QStringLiteral("yes") : QStringLiteral("no");
    WriteSavedValue(store_, QStringLiteral("Save"), save_);
    accept();
}

void LoginDialog::ExitClicked() { done(Exited); }

}  // namespace softphone
