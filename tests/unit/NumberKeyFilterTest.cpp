// Keys typed into the number field, sent as real key events to the editable combo box the
// handset uses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "dialer/NumberKeyFilter.h"
#include "tests/support/Fakes.h"

namespace softphone {
namespace {

class RecordingEntry : public INumberEntry {
public:
    void showNumbersOnlyError() override { calls << QStringLiteral("box"); }
    void playKeyTone(const QString& toneName) override { calls << toneName; }
    void placeCall() override { calls << QStringLiteral("PlaceCall"); }
    QStringList calls;
};

struct KeyCase {
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
    {"12", 1, Qt::Key_9, {}, "9", "192", {"Tone9.wav"}},
    {"12", -1, Qt::Key_Asterisk, {}, "*", "12*", {"Tonestar.wav"}},
    {"12", -1, Qt::Key_A, {}, "a", "12", {"box"}},
    {"12", -1, Qt::Key_V, Qt::ControlModifier, QString(QChar(22)), "12", {"box"}},
    {"123", -1, Qt::Key_Backspace, {}, QString(QChar(8)), "12", {}},
    {"123", 0, Qt::Key_Delete, {}, QString(QChar(127)), "23", {}},
    {"123", -1, Qt::Key_Left, {}, "", "123", {}},
    {kNine, -1, Qt::Key_Return, {}, "\r", kNine, {}},
    {kTen, -1, Qt::Key_Return, {}, "\r", kTen, {"PlaceCall"}},
    {kTen, -1, Qt::Key_Enter, Qt::KeypadModifier, "\r", kTen, {"PlaceCall"}},
};

TEST(NumberKeyFilter, EachKeyByTheRules) {
    QApplication::clipboard()->setText(QStringLiteral("99abc"));
    QComboBox field;
    field.setEditable(true);
    field.setInsertPolicy(QComboBox::NoInsert);
    RecordingEntry entry;
    new NumberKeyFilter(&field, entry);
    QLineEdit* edit = field.lineEdit();
    for (const KeyCase& c : kCases) {
        SCOPED_TRACE(c.before.toStdString() + " " + QKeySequence(c.key).toString().toStdString());
        edit->setText(c.before);
        edit->setCursorPosition(c.cursor < 0 ? int(c.before.size()) : c.cursor);
        entry.calls.clear();
        QTest::sendKeyEvent(QTest::Click, &field, c.key, c.typed, c.modifiers);
        EXPECT_EQ(edit->text(), c.after);
        EXPECT_EQ(entry.calls, c.calls);
    }
}

}  // namespace
}  // namespace softphone
