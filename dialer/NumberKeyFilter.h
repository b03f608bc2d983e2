#pragma once

#include <QObject>
#include <QString>

class QComboBox;
class QLineEdit;

namespace softphone {

inline const QString kNumbersOnlyText = QStringLiteral("Numbers 0 to 9 only, please!");
inline const QString kInputErrorTitle = QStringLiteral("Input Error");

// What the number field's key filter asks of the window that owns the field.
class INumberEntry {
public:
    virtual ~INumberEntry() = default;
    // The "Numbers 0 to 9 only, please!" box, titled "Input Error", exclamation icon.
    virtual void showNumbersOnlyError() = 0;
    virtual void playKeyTone(const QString& toneName) = 0;
    virtual void placeCall() = 0;
};

// Judges each character typed into the number field before the field inserts it: digits, "*" and
// "#" sound their key tone and go in; Backspace deletes silently; Enter in a number of ten or more
// characters places the call; any other character is refused with the input-error box. Keys that
// type nothing (arrows, Delete, Home, End, Tab, modifiers) pass untouched.
class NumberKeyFilter : public QObject {
public:
    // An editable combo box takes the keys itself and hands them to its line edit, so the filter
    // watches the combo box.
    NumberKeyFilter(QComboBox* field, INumberEntry& owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* text_;
    INumberEntry& owner_;
};

}  // namespace softphone
