#include "records/LoginDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "records/SavedLogin.h"
#include "support/MessageBox.h"
#include "support/Skin.h"
#include "support/Twips.h"

namespace softphone {
namespace {

QLabel* whiteLabel(const QString& text, QRect place, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    return label;
}

QLineEdit* box(QRect place, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(place);
    return box;
}

QPushButton* button(const QString& caption, QRect place, QWidget* parent) {
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
    applyDialogSkin(this, WindowSkin::Login);

    whiteLabel(tr("Sip IP/Domain"), twipsRect(240, 480, 1095, 255), this);
    whiteLabel(tr("Account/Pin"), twipsRect(240, 840, 1095, 255), this);
    whiteLabel(tr("Password"), twipsRect(360, 1200, 975, 255), this);
    sipBox = box(twipsRect(1440, 480, 1575, 285), this);
    accountBox = box(twipsRect(1440, 840, 1575, 285), this);
    accountBox->setMaxLength(15);
    passwordBox = box(twipsRect(1440, 1200, 1575, 285), this);
    saveBox = new QCheckBox(tr("Save "), this);
    saveBox->setGeometry(twipsRect(2040, 1680, 855, 255));
    saveBox->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    loginButton = button(tr("LOGIN"), twipsRect(600, 2160, 800, 300), this);
    exitButton = button(tr("EXIT"), twipsRect(1800, 2160, 800, 300), this);

    setTabOrder(sipBox, accountBox);
    setTabOrder(accountBox, passwordBox);
    setTabOrder(passwordBox, saveBox);
    setTabOrder(saveBox, loginButton);
    setTabOrder(loginButton, exitButton);

    connect(loginButton, &QPushButton::clicked, this, &LoginDialog::loginClicked);
    connect(exitButton, &QPushButton::clicked, this, &LoginDialog::exitClicked);
    start();
}

void LoginDialog::start() {
    const SavedLogin saved = SavedLogin::read(store_);
    if (saved.account.isEmpty() && saved.password.isEmpty() && saved.sip.isEmpty()) return;
    saveBox->setChecked(true);
    if (!saved.sip.isEmpty()) sipBox->setText(saved.sip);
    if (!saved.account.isEmpty()) accountBox->setText(saved.account);
    if (!saved.password.isEmpty()) passwordBox->setText(saved.password);
}

void LoginDialog::loginClicked() {
    if (accountBox->text().isEmpty() || passwordBox->text().isEmpty()) {
        messages_.show(this, tr("User Name and Password must not be blank"));
        return;
    }
    SavedLogin{accountBox->text(), passwordBox->text(), sipBox->text(), saveBox->isChecked()}.write(
        store_);
    accept();
}

void LoginDialog::exitClicked() { done(Exited); }

}  // namespace softphone
