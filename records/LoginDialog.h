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
// the main window reads them back from the store once the dialog has closed.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    // `balanceLabel` is the main window's balance label, which carries the Exit marker.
    LoginDialog(ISettingsStore& store, IMessageBox& messages, QLabel* balanceLabel,
                QWidget* parent = nullptr);

    void ReadProfile();
    void SaveProfile();
    void LoginClicked();
    void ExitClicked();

    QLineEdit* sipBox;
    QLineEdit* accountBox;
    QLineEdit* passwordBox;
    QCheckBox* saveBox;
    QPushButton* loginButton;
    QPushButton* exitButton;

private:
    void Start();

    ISettingsStore& store_;
    IMessageBox& messages_;
    QLabel* balanceLabel_;
    QString account_, password_, sipServer_, save_;
};

}  // namespace softphone
