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
    bool ShowLogin(HandsetWindow& owner) override {
        ++loginShown;
        if (onLogin) onLogin(owner);
        return loggedIn;
    }
    void ShowPhoneBook(HandsetWindow& owner) override {
        ++phoneBookShown;
        if (onPhoneBook) onPhoneBook(owner);
    }
    void ShowRecentCalls(HandsetWindow& owner) override {
        ++recentCallsShown;
        if (onRecentCalls) onRecentCalls(owner);
    }
    std::function<void(HandsetWindow&)> onLogin, onPhoneBook, onRecentCalls;
    int loginShown = 0, phoneBookShown = 0, recentCallsShown = 0;
    bool loggedIn = true;  // false: the login dialog is left by EXIT, Escape or closing
};

}  // namespace softphone::test
