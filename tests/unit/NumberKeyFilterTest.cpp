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

// Dial keys go in at the caret; a paste shortcut is refused (it would bring letters); Delete
// still edits; the keypad's Enter dials as Return does. (Letters refused, Return dialling,
// Backspace and the arrow keys passing: DeskTest and RecordsTest, through the same filter.)
TEST(NumberKeyFilter, EachKeyByTheRules) {
    QApplication::clipboard()->setText(QStringLiteral("99abc"));
    QComboBox field;
    field.setEditable(true);
    field.setInsertPolicy(QComboBox::NoInsert);
    QStringList seen;  // "refused", "entered" or the key typed
    auto* filter = new NumberKeyFilter(&field, NumberKeyFilter::Accepts::DialKeys);
    QObject::connect(filter, &NumberKeyFilter::typed, [&](QChar key) { seen << QString(key); });
    QObject::connect(filter, &NumberKeyFilter::entered, [&] { seen << "entered"; });
    QObject::connect(filter, &NumberKeyFilter::refused, [&] { seen << "refused"; });
    QLineEdit* edit = field.lineEdit();
    // The field afterwards and what was seen, for `key` with the caret at `cursor` in `before`;
    // `text` is the event's text, as the platform delivers it.
    const auto press = [&](const QString& before, int cursor, Qt::Key key, const QString& text,
                           Qt::KeyboardModifiers modifiers = {}) {
        edit->setText(before);
        edit->setCursorPosition(cursor);
        seen.clear();
        QTest::sendKeyEvent(QTest::Click, &field, key, text, modifiers);
        return edit->text() + ' ' + seen.join(',');
    };
    EXPECT_EQ(press("12", 1, Qt::Key_9, "9"), "192 9");
    EXPECT_EQ(press("12", 2, Qt::Key_Asterisk, "*"), "12* *");
    EXPECT_EQ(press("12", 2, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier), "12 refused");
    EXPECT_EQ(press("123", 0, Qt::Key_Delete, QString(QChar(127))), "23 ");
    EXPECT_EQ(press("012345678", 9, Qt::Key_Enter, "\r", Qt::KeypadModifier), "012345678 entered");
}

// Numbers as people write them, and as links and other programs hand them over, cleaned for the
// field with the international prefix; what holds letters or no digit is refused with the reason.
// (A tel: link with %20 escapes, brackets and dashes, and a sip: address with letters: DeskTest;
// a vanity number: AddressBookTest.)
TEST(WrittenNumber, CleanedByTheRules) {
    using enum NumberRefusal;
    const struct {
        QString written, prefix, number;
        NumberRefusal refusal;
    } cases[] = {
        {" +44 20 7946 0958\n", "011", "011442079460958", None},
        {"+44 (0)20 7946\u00a00958", "", "442079460958", None},
        {"030/123 45-6.7 \u2013 8", "00", "03012345678", None},
        {"\u0660\u0661\u0662 \uff13", "00", "0123", None},
        {"TEL:863-1234;phone-context=+1-914-555", "00", "8631234", None},
        {"tel:+1-201-555-0123;ext=1234;isub=5", "00", "0012015550123", None},
        {"tel:*21%23", "00", "*21#", None},
        {"sips:+1-212-555-1212:1234@gateway.com;user=phone", "00", "0012125551212", None},
        {"callto://+4420%207946%200958", "00", "00442079460958", None},
        {"+44 20 +1", "00", "", Letters},
        {"5550%zz", "00", "", Letters},
        {"sip:192.0.2.1", "00", "", Empty},
        {"tel:+", "00", "", Empty},
        {QString(200, '5'), "00", "", TooLong},
    };
    for (const auto& c : cases) {
        const CleanNumber clean = cleanNumber(c.written, c.prefix);
        EXPECT_EQ(std::pair(clean.number, clean.refusal), std::pair(c.number, c.refusal))
            << c.written.toStdString();
    }
}

}  // namespace
}  // namespace softphone
