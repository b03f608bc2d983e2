#pragma once

#include <QObject>

class QWidget;

namespace softphone {

class IMessageBox;

// The "Numbers 0 to 9 only, please!" box, titled "Input Error", with the exclamation icon.
void showNumbersOnlyBox(IMessageBox& messages, QWidget* owner);

// Judges each character typed into a number field before the field inserts it: the accepted
// characters and Backspace go in, and `typed` names each accepted digit, "*" or "#"; any other
// character is kept out and `refused` emitted. Keys that type nothing (arrows, Delete, Home, End,
// Tab, modifiers) pass untouched. An editable combo box takes the keys itself and hands them to
// its line edit, so it is the combo box that is watched.
class NumberKeyFilter : public QObject {
    Q_OBJECT
public:
    // Digits: 0 to 9. DialKeys: 0 to 9, "*" and "#", and Enter, which passes on as `entered`.
    enum class Accepts { Digits, DialKeys };

    NumberKeyFilter(QWidget* field, Accepts accepts);

signals:
    void typed(QChar key);
    void entered();
    void refused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool accepted(QChar c) const;

    Accepts accepts_;
};

}  // namespace softphone
