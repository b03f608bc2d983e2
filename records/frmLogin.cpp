#include "records/frmLogin.h"

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

frmLogin::frmLogin(ISettingsStore& store, IMessageBox& messages, QLabel* lblBalance,
                   QWidget* parent)
    : QDialog(parent), store_(store), messages_(messages), lblBalance_(lblBalance) {
    setWindowTitle(QStringLiteral("Please Enter Your Pin"));
    setObjectName(QStringLiteral("frmLogin"));
    ApplyDialogSkin(this, WindowSkin::Login);

    WhiteLabel(QStringLiteral("Sip IP/Domain"), TwipsRect(240, 480, 1095, 255), this);
    WhiteLabel(QStringLiteral("Account/Pin"), TwipsRect(240, 840, 1095, 255), this);
    WhiteLabel(QStringLiteral("Password"), TwipsRect(360, 1200, 975, 255), this);
    txtSip = Box(TwipsRect(1440, 480, 1575, 285), this);
    txtAcctNo = Box(TwipsRect(1440, 840, 1575, 285), this);
    txtAcctNo->setMaxLength(15);
    txtPassword = Box(TwipsRect(1440, 1200, 1575, 285), this);
    chkbxSaveSettings = new QCheckBox(QStringLiteral("Save "), this);
    chkbxSaveSettings->setGeometry(TwipsRect(2040, 1680, 855, 255));
    chkbxSaveSettings->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    cmdLogin = Button(QStringLiteral("LOGIN"), TwipsRect(600, 2160, 800, 300), this);
    cmdExit = Button(QStringLiteral("EXIT"), TwipsRect(1800, 2160, 800, 300), this);

    setTabOrder(txtSip, txtAcctNo);
    setTabOrder(txtAcctNo, txtPassword);
    setTabOrder(txtPassword, chkbxSaveSettings);
    setTabOrder(chkbxSaveSettings, cmdLogin);
    setTabOrder(cmdLogin, cmdExit);

    connect(cmdLogin, &QPushButton::clicked, this, &frmLogin::LoginClicked);
    connect(cmdExit, &QPushButton::clicked, this, &frmLogin::ExitClicked);
    FormLoad();
}

void frmLogin::FormLoad() {
    ReadProfile();
    if (account_.isEmpty() && password_.isEmpty() && sipServer_.isEmpty()) return;
    chkbxSaveSettings->setChecked(true);
    if (!sipServer_.isEmpty()) txtSip->setText(sipServer_);
    if (!account_.isEmpty()) txtAcctNo->setText(account_);
    if (!password_.isEmpty()) txtPassword->setText(password_);
}

void frmLogin::ReadProfile() {
    password_ = ReadSavedValue(store_, QStringLiteral("Password"));
    account_ = ReadSavedValue(store_, QStringLiteral("Account"));
    sipServer_ = ReadSavedValue(store_, QStringLiteral("Sip"));
}

void frmLogin::SaveProfile() {
    WriteSavedValue(store_, QStringLiteral("Password"), password_);
    WriteSavedValue(store_, QStringLiteral("Account"), account_);
    WriteSavedValue(store_, QStringLiteral("Sip"), sipServer_);
}

void frmLogin::LoginClicked() {
    if (txtAcctNo->text().isEmpty() || txtPassword->text().isEmpty()) {
        messages_.Show(this, QStringLiteral("User Name and Password must not be blank"));
        return;
    }
    account_ = txtAcctNo->text();
    sipServer_ = txtSip->text();
    password_ = txtPassword->text();
    SaveProfile();
    save_ = chkbxSaveSettings->isChecked() ? QStringLiteral("yes") : QStringLiteral("no");
    WriteSavedValue(store_, QStringLiteral("Save"), save_);
    accept();
}

void frmLogin::ExitClicked() {
    if (lblBalance_) lblBalance_->setText(QStringLiteral("EXITING"));
    reject();
}

}  // namespace softphone
