// Keys typed into the number field, sent as real key events to the editable combo box the
// handset uses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "support/NumberKeyFilter.h"
#include "tests/support/Fakes.h"

namespace softphone {
namespace {

struct KeyCase {
    QString before;
    int cursor;  // caret position before the key; -1 = at the end
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString typed;  // the event's text, as the platform delivers it
    QString after;
    QStringList seen;  // "refused", "entered" or the key typed
};

const QString kNine = QStringLiteral("012345678");

const KeyCase kCases[] = {
    {"12", 1, Qt::Key_9, {}, "9", "192", {"9"}},
    {"12", -1, Qt::Key_Asterisk, {}, "*", "12*", {"*"}},
    {"12", -1, Qt::Key_A, {}, "a", "12", {"refused"}},
    {"12", -1, Qt::Key_V, Qt::ControlModifier, QString(QChar(22)), "12", {"refused"}},
    {"123", -1, Qt::Key_Backspace, {}, QString(QChar(8)), "12", {}},
    {"123", 0, Qt::Key_Delete, {}, QString(QChar(127)), "23", {}},
    {"123", -1, Qt::Key_Left, {}, "", "123", {}},
    {kNine, -1, Qt::Key_Return, {}, "\r", kNine, {"entered"}},
    {kNine, -1, Qt::Key_Enter, Qt::KeypadModifier, "\r", kNine, {"entered"}},
};

TEST(NumberKeyFilter, EachKeyByTheRules) {
    QApplication::clipboard()->setText(QStringLiteral("99abc"));
    QComboBox field;
    field.setEditable(true);
    field.setInsertPolicy(QComboBox::NoInsert);
    QStringList seen;
    auto* filter = new NumberKeyFilter(&field, NumberKeyFilter::Accepts::DialKeys);
    QObject::connect(filter, &NumberKeyFilter::typed, [&](QChar key) { seen << QString(key); });
    QObject::connect(filter, &NumberKeyFilter::entered, [&] { seen << "entered"; });
    QObject::connect(filter, &NumberKeyFilter::refused, [&] { seen << "refused"; });
    QLineEdit* edit = field.lineEdit();
    for (const KeyCase& c : kCases) {
        SCOPED_TRACE(c.before.toStdString() + " " + QKeySequence(c.key).toString().toStdString());
        edit->setText(c.before);
        edit->setCursorPosition(c.cursor < 0 ? int(c.before.size()) : c.cursor);
        seen.clear();
        QTest::sendKeyEvent(QTest::Click, &field, c.key, c.typed, c.modifiers);
        EXPECT_EQ(edit->text(), c.after);
        EXPECT_EQ(seen, c.seen);
    }
}

}  // namespace
}  // namespace softphone
