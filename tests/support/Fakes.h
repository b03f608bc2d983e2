#pragma once

#include <QStringList>
#include <functional>

#include "app/ModalWindows.h"
#include "support/MessageBox.h"
#include "tests/support/Printers.h"

namespace softphone::test {

struct ShownMessage {
    QString text, title;
    MessageIcon icon;
};

class RecordingMessageBox : public IMessageBox {
public:
    void Show(QWidget*, const QString& text, const QString& title, MessageIcon icon) override {
        shown.push_back({text, title, icon});
        if (whileShown) whileShown();  // a real box runs the event loop until it is closed
    }
    QStringList Texts() const {
        QStringList texts;
        for (const ShownMessage& m : shown) texts << m.text;
        return texts;
    }
    std::vector<ShownMessage> shown;
    std::function<void()> whileShown;
};

// Plays the user's part in the modal windows.
class ScriptedWindows : public IModalWindows {
public:
    LoginOutcome ShowLogin(QWidget*) override {
        ++loginShown;
        if (onLogin) onLogin();
        return login;
    }
    std::optional<QString> ShowPhoneBook(QWidget*) override {
        ++phoneBookShown;
        return chosen;
    }
    std::optional<QString> ShowRecentCalls(QWidget*) override {
        ++recentCallsShown;
        return chosen;
    }
    std::optional<NetworkSettings> ShowNetwork(QWidget*, const NetworkSettings&) override {
        return network;
    }
    std::function<void()> onLogin;           // fills the dialog, typically
    std::optional<NetworkSettings> network;  // what the network dialog hands back
    LoginOutcome login = LoginOutcome::LoggedIn;
    std::optional<QString> chosen;  // what the phone book or call history hands back
    int loginShown = 0, phoneBookShown = 0, recentCallsShown = 0;
};

}  // namespace softphone::test
