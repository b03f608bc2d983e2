// Keys typed into the number field, sent as real key events to a real combo box and line edit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <memory>

#include "dialer/NumberKeyFilter.h"

namespace softphone {
namespace {

class RecordingEntry : public INumberEntry {
public:
    void ShowNumbersOnlyError() override { calls << QStringLiteral("box"); }
    void PlayKeyTone(const QString& toneName) override { calls << toneName; }
    void PlaceCall() override { calls << QStringLiteral("PlaceCall"); }
    QStringList calls;
};

struct KeyCase {
    const char* what;
    QString before;
    int cursor;  // caret position before the key; -1 = at the end
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString typed;  // the event's text, as the platform delivers it
    QString after;
    QStringList calls;
};

const QString kTen = QStringLiteral("0123456789");
const QString kNine = QStringLiteral("012345678");

const KeyCase kCases[] = {
    {"digit", "12", -1, Qt::Key_5, {}, "5", "125", {"Tone5.wav"}},
    {"zero", "", -1, Qt::Key_0, {}, "0", "0", {"Tone0.wav"}},
    {"star", "12", -1, Qt::Key_Asterisk, {}, "*", "12*", {"Tonestar.wav"}},
    {"pound", "12", -1, Qt::Key_NumberSign, {}, "#", "12#", {"Tonepnd.wav"}},
    {"digit at the caret", "12", 1, Qt::Key_9, {}, "9", "192", {"Tone9.wav"}},
    {"digit in a long number",
     kTen + kTen,
     -1,
     Qt::Key_1,
     {},
     "1",
     kTen + kTen + "1",
     {"Tone1.wav"}},
    {"letter", "12", -1, Qt::Key_A, {}, "a", "12", {"box"}},
    {"space", "12", -1, Qt::Key_Space, {}, " ", "12", {"box"}},
    {"plus", "12", -1, Qt::Key_Plus, {}, "+", "12", {"box"}},
    {"Ctrl+V", "12", -1, Qt::Key_V, Qt::ControlModifier, QString(QChar(22)), "12", {"box"}},
    {"Escape", "12", -1, Qt::Key_Escape, {}, QString(QChar(27)), "12", {"box"}},
    {"Backspace", "123", -1, Qt::Key_Backspace, {}, QString(QChar(8)), "12", {}},
    {"Enter, 9 characters", kNine, -1, Qt::Key_Return, {}, "\r", kNine, {}},
    {"Enter, 10 characters", kTen, -1, Qt::Key_Return, {}, "\r", kTen, {"PlaceCall"}},
    {"keypad Enter, 10 characters",
     kTen,
     -1,
     Qt::Key_Enter,
     Qt::KeypadModifier,
     "\r",
     kTen,
     {"PlaceCall"}},
    {"Enter, 11 characters", kTen + "1", -1, Qt::Key_Return, {}, "\r", kTen + "1", {"PlaceCall"}},
    {"Delete", "123", 0, Qt::Key_Delete, {}, QString(QChar(127)), "23", {}},
    {"Left arrow", "123", -1, Qt::Key_Left, {}, "", "123", {}},
    {"Home", "123", -1, Qt::Key_Home, {}, "", "123", {}},
    {"Tab", "123", -1, Qt::Key_Tab, {}, "\t", "123", {}},
    {"Shift", "123", -1, Qt::Key_Shift, Qt::ShiftModifier, "", "123", {}},
};

// The field as the main window has it (an editable combo box that never grows its list), or a
// bare line edit.
enum class FieldKind { ComboBox, LineEdit };

class NumberKeyFilterTest : public ::testing::TestWithParam<FieldKind> {
protected:
    void SetUp() override {
        QApplication::clipboard()->setText(QStringLiteral("99abc"));
        if (GetParam() == FieldKind::ComboBox) {
            auto* combo = new QComboBox;
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            field_.reset(combo);
            edit_ = combo->lineEdit();
            filter_ = new NumberKeyFilter(combo, entry_);
        } else {
            edit_ = new QLineEdit;
            field_.reset(edit_);
            filter_ = new NumberKeyFilter(edit_, entry_);
        }
    }

    // Delivered like a real key: to the field that has the focus, through the application.
    void Press(const KeyCase& c) {
        QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, c.typed);
        QKeyEvent release(QEvent::KeyRelease, c.key, c.modifiers, c.typed);
        QApplication::sendEvent(field_.get(), &press);
        QApplication::sendEvent(field_.get(), &release);
    }

    RecordingEntry entry_;
    std::unique_ptr<QWidget> field_;
    QLineEdit* edit_ = nullptr;
    NumberKeyFilter* filter_ = nullptr;  // owned by the field
};

TEST_P(NumberKeyFilterTest, EachKeyByTheRules) {
    for (const KeyCase& c : kCases) {
        SCOPED_TRACE(c.what);
        edit_->setText(c.before);
        edit_->setCursorPosition(c.cursor < 0 ? int(c.before.size()) : c.cursor);
        entry_.calls.clear();
        Press(c);
        EXPECT_EQ(c.after, edit_->text());
        EXPECT_EQ(c.calls, entry_.calls);
    }
}

TEST_P(NumberKeyFilterTest, TyingANumberSoundsEveryKey) {
    const QString number = QStringLiteral("0044*#");
    for (QChar ch : number)
        Press({"", {}, -1, Qt::Key(ch.toUpper().unicode()), {}, QString(ch), {}, {}});
    EXPECT_EQ(number, edit_->text());
    EXPECT_EQ(QStringList({"Tone0.wav", "Tone0.wav", "Tone4.wav", "Tone4.wav", "Tonestar.wav",
                           "Tonepnd.wav"}),
              entry_.calls);
}

INSTANTIATE_TEST_SUITE_P(Fields, NumberKeyFilterTest,
                         ::testing::Values(FieldKind::ComboBox, FieldKind::LineEdit),
                         [](const auto& info) {
                             return info.param == FieldKind::ComboBox ? "ComboBox" : "LineEdit";
                         });

}  // namespace
}  // namespace softphone
