// Keys typed into the number field, sent as real key events to the editable combo box the
// handset uses; and numbers as people write them, cleaned for the field.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "support/NumberKeyFilter.h"
#include "support/WrittenNumber.h"
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

TEST(WrittenNumber, CleanedByTheRules) {
    using enum NumberRefusal;
    const struct {
        QString written, prefix;
        QString number;
        NumberRefusal refusal;
    } cases[] = {
        {" +44 20 7946 0958\n", "00", "00442079460958", None},
        {"+1 (555) 010-4477", "011", "01115550104477", None},
        {"+44 (0)20 7946\u00a00958", "", "442079460958", None},
        {"030/123 45-6.7 \u2013 8", "00", "03012345678", None},
        {"\u0660\u0661\u0662 \uff13", "00", "0123", None},
        {"tel:+44%2020%207946%200958", "00", "00442079460958", None},
        {"TEL:863-1234;phone-context=+1-914-555", "00", "8631234", None},
        {"tel:+1-201-555-0123;ext=1234;isub=5", "00", "0012015550123", None},
        {"tel:*21%23", "00", "*21#", None},
        {"sips:+1-212-555-1212:1234@gateway.com;user=phone", "00", "0012125551212", None},
        {"callto://+4420%207946%200958", "00", "00442079460958", None},
        {"sip:alice@example.com", "00", "", Letters},
        {"tel:1-800-FLOWERS", "00", "", Letters},
        {"+44 20 +1", "00", "", Letters},
        {"5550%zz", "00", "", Letters},
        {"sip:192.0.2.1", "00", "", Empty},
        {" (-) ", "00", "", Empty},
        {"tel:+", "00", "", Empty},
        {QString(200, '5'), "00", "", TooLong},
    };
    for (const auto& c : cases) {
        const CleanNumber clean = cleanNumber(c.written, c.prefix);
        EXPECT_EQ(clean.number, c.number) << c.written.toStdString();
        EXPECT_EQ(clean.refusal, c.refusal) << c.written.toStdString();
    }
}

}  // namespace
}  // namespace softphone
