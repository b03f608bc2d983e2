#pragma once

namespace softphone {

class frmSoftphone;

// The modal windows the main window opens; tests substitute a script of the user's answers.
class IModalWindows {
public:
    virtual ~IModalWindows() = default;
    // True when the user logged in; false when the dialog was left by EXIT, Escape or closing.
    virtual bool ShowLogin(frmSoftphone& owner) = 0;
    // Both hand their result back through the owner's number field, cmbPhoneNo.
    virtual void ShowPhoneBook(frmSoftphone& owner) = 0;
    virtual void ShowRecentCalls(frmSoftphone& owner) = 0;
};

class IMessageBox;
class ISettingsStore;

class QtModalWindows : public IModalWindows {
public:
    QtModalWindows(ISettingsStore& store, IMessageBox& messages)
        : store_(store), messages_(messages) {}
    bool ShowLogin(frmSoftphone& owner) override;
    void ShowPhoneBook(frmSoftphone& owner) override;
    void ShowRecentCalls(frmSoftphone& owner) override;

private:
    ISettingsStore& store_;
    IMessageBox& messages_;
};

}  // namespace softphone
