// The phone book and the call history as a user meets them, over a file in a private folder.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "records/PhoneBookDialog.h"
#include "records/RecentCalls.h"
#include "records/RecentCallsDialog.h"
#include "tests/support/Child.h"
#include "tests/support/Fakes.h"

namespace softphone::test {
namespace {

class RecordsTest : public ::testing::Test {
protected:
    void put(const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    static QStringList rowTexts(const QAbstractItemView* list) {
        QStringList rows;
        for (int i = 0; i < list->model()->rowCount(); ++i)
            rows << list->model()->index(i, 0).data().toString();
        return rows;
    }
    // The placeholder selected, empty boxes, only ADD enabled.
    bool newEntryState() const {
        return book->entryList->currentIndex().row() == 0 &&
               (book->nameBox->text() + book->numberField->text()).isEmpty() &&
               book->addButton->isEnabled() && !book->editButton->isEnabled() &&
               !book->deleteButton->isEnabled() && !book->callButton->isEnabled();
    }

    QTemporaryDir folder;
    QString path = folder.path() + QStringLiteral("/Softphone/records.txt");
    RecordingMessageBox messages;
    std::unique_ptr<PhoneBookDialog> book;
};

// The file's lines are listed after the placeholder in file order; a hand-edited line with "--"
// in its name and a megabyte number is shown cut short and comes back whole. EDIT and DELETE
// change only the selected entry, ADD puts a trimmed one last; the other lines keep their bytes
// (not UTF-8, NUL, a lone CR) and the file gets CRLF line ends.
TEST_F(RecordsTest, PhoneBookChangesOnlyTheEntryWorkedOn) {
    const QString name = QStringLiteral("The Very Long Family Name of Forty Chars--Work");
    const QString number(1 << 20, QLatin1Char('9'));
    const QByteArray odd = QByteArray("\xff\xfe Bad\x80--1\x00\x01", 12) + "\r\na\rb";
    put((name + "--" + number).toUtf8() + "\r\n\r\n" + odd + "\nAlso--3");
    book = std::make_unique<PhoneBookDialog>(messages, nullptr, path);
    book->show();
    const QStringList rows = rowTexts(book->entryList);
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(QStringList({rows[0], rows[2], rows[5]}), (QStringList{"NEW ITEM!", "", "Also--3"}));
    EXPECT_LT(rows[1].size(), 1100);
    EXPECT_TRUE(newEntryState());
    // The boxes hold the whole entry: EDIT saves them back, as `saved` shows.
    book->entryList->setCurrentIndex(book->entryList->model()->index(1, 0));
    EXPECT_FALSE(book->addButton->isEnabled());
    book->numberField->backspace();
    book->editButton->click();
    book->entryList->setCurrentIndex(book->entryList->model()->index(5, 0));
    book->deleteButton->click();
    book->nameBox->setText("  J\u00f6rg  ");
    book->numberField->setText(" 8 ");
    book->addButton->click();
    const QByteArray saved =
        (name + "--" + number.chopped(1)).toUtf8() + "\r\n\r\n" + odd + "\r\nJ\xc3\xb6rg--8\r\n";
    EXPECT_TRUE(fileBytes(path) == saved);
    EXPECT_EQ(rowTexts(book->entryList).last(), QString::fromUtf8("J\xc3\xb6rg--8"));
    EXPECT_TRUE(newEntryState());

    // Empty boxes and keys that are not digits are refused; arrow keys and Backspace pass.
    for (QLineEdit* empty : {book->nameBox, book->numberField}) {
        book->nameBox->setText("Bob");
        book->numberField->setText("123");
        empty->clear();
        book->addButton->click();
        EXPECT_EQ(book->focusWidget(), empty);
    }
    QTest::keyClicks(book->numberField, "12*");
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Backspace}) QTest::keyClick(book->numberField, key);
    EXPECT_EQ(book->numberField->text(), "2");
    EXPECT_EQ(messages.shown,
              (QStringList{"Enter Name.", "Enter Phone Number.", "Numbers 0 to 9 only, please!"}));

    // CALL hands over what the box shows, here less one more digit, without saving it.
    book->entryList->setCurrentIndex(book->entryList->model()->index(1, 0));
    book->numberField->backspace();
    book->callButton->click();
    EXPECT_TRUE(book->chosenNumber() == number.chopped(2) && !book->isVisible());
    EXPECT_TRUE(fileBytes(path) == saved);
}

// Import... adds an address book's numbers and names what it skipped and why; a file that is no
// address book changes nothing; a dropped vCard imports too. Export... writes what the book
// holds, or says it could not.
TEST_F(RecordsTest, PhoneBookImportsAndExportsAddressBooks) {
    const QString data = QStringLiteral(SOFTPHONE_SOURCE_DIR "/tests/data/");
    put("Jane Doe--01115555555555\r\n");
    book = std::make_unique<PhoneBookDialog>(messages, nullptr, path, "011");
    book->importFile(data + "contacts/google.csv");
    book->importFile(data + "records/PhoneBook.txt");
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(data + "contacts/rfc6350.vcf")});
    QDropEvent drop({10, 10}, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window: Qt's notify() delivers drops only while a drag runs.
    static_cast<QObject*>(book.get())->event(&drop);
    const QRegularExpression nothing("(?s)^.*nothing was imported\\.$");
    EXPECT_EQ(
        messages.shown.replaceInStrings(nothing, "nothing"),
        (QStringList{"Imported 4 entries, skipped 1\n\nNo number: Grace Brewster Hopper", "nothing",
                     "Imported 2 entries, skipped 1\n\nAlready in the phone book: Jane Doe"}));
    const QStringList rows = rowTexts(book->entryList);
    ASSERT_EQ(rows.size(), 8);
    EXPECT_EQ(rows[2], "Ada Lovelace (mobile)--011447700900123");
    EXPECT_TRUE(newEntryState());
    book->exportTo(folder.filePath("out.vcf"));
    EXPECT_EQ(fileBytes(folder.filePath("out.vcf")).count("BEGIN:VCARD"), 7);
    book->exportTo(folder.filePath("missing/out.vcf"));
    EXPECT_TRUE(messages.shown.last().startsWith("Could not write"));
}

// The newest record goes first and only five are kept, or listed; a double click on a record
// hands over its number and closes the window, as Close does without one.
TEST_F(RecordsTest, CallHistoryKeepsAndListsTheNewestFiveRecords) {
    updateRecentCalls("%1%2", 10, 0, 59, path);  // neither the file nor its folder exist yet
    EXPECT_EQ(fileBytes(path), "%1%2--Duration: 10:0:59\r\n");
    put("\n123--Duration: 0:1:5\n\xff\x01--x\nd\nc\nb\na\n");
    RecentCallsDialog list(nullptr, path);
    EXPECT_EQ(rowTexts(list.callList).mid(3), (QStringList{"d", "c"}));
    list.show();
    emit list.callList->itemDoubleClicked(list.callList->item(0));
    EXPECT_TRUE(list.isVisible()) << "an empty line is no record";
    emit list.callList->itemDoubleClicked(list.callList->item(1));
    EXPECT_TRUE(list.chosenNumber() == "123" && !list.isVisible());
    list.show();
    list.closeButton->click();
    EXPECT_FALSE(list.isVisible());
    updateRecentCalls("h", 0, 0, 1, path);
    EXPECT_EQ(fileBytes(path),
              "h--Duration: 0:0:1\r\n\r\n123--Duration: 0:1:5\r\n\xff\x01--x\r\nd\r\n");
}

}  // namespace
}  // namespace softphone::test
