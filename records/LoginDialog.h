#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace softphone {

class IMessageBox;
class ISettingsStore;

// Collects the account number, password and SIP server and writes them to the settings store;
// the phone reads them back from the store once the dialog has closed. Its result tells how it
// was left: LOGIN accepts, EXIT gives Exited, Escape or closing the window rejects.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int Exited = 2;

    LoginDialog(ISettingsStore& store, IMessageBox& messages, QWidget* parent = nullptr);

    QLineEdit* sipBox;
    QLineEdit* accountBox;
    QLineEdit* passwordBox;
    QCheckBox* saveBox;
    QPushButton* loginButton;
    QPushButton* exitButton;

private:
    void start();
    void loginClicked();
    void exitClicked();

    ISettingsStore& store_;
    IMessageBox& messages_;
};

}  // namespace softphone
