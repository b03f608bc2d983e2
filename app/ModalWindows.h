#pragma once

namespace softphone {

class HandsetWindow;

// The modal windows the main window opens; tests substitute a script of the user's answers.
class IModalWindows {
public:
    virtual ~IModalWindows() = default;
    // True when the user logged in; false when the dialog was left by EXIT, Escape or closing.
    virtual bool ShowLogin(HandsetWindow& owner) = 0;
    // Both hand their result back through the owner's number field, numberBox.
    virtual void ShowPhoneBook(HandsetWindow& owner) = 0;
    virtual void ShowRecentCalls(HandsetWindow& owner) = 0;
};

class IMessageBox;
class ISettingsStore;

class QtModalWindows : public IModalWindows {
public:
    QtModalWindows(ISettingsStore& store, IMessageBox& messages)
        : store_(store), messages_(messages) {}
    bool ShowLogin(HandsetWindow& owner) override;
    void ShowPhoneBook(HandsetWindow& owner) override;
    void ShowRecentCalls(HandsetWindow& owner) override;

private:
    ISettingsStore& store_;
    IMessageBox& messages_;
};

}  // namespace softphone
