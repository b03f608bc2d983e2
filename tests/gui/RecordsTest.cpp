// The phone book and the call history as a user meets them, over a file in a private folder.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "records/PhoneBookDialog.h"
#include "records/RecentCalls.h"
#include "records/RecentCallsDialog.h"
#include "tests/support/Fakes.h"

namespace softphone::test {
namespace {

class RecordsTest : public ::testing::Test {
protected:
    void Put(const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Bytes() const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    void Open(const QByteArray& bytes) {
        Put(bytes);
        book = std::make_unique<PhoneBookDialog>(messages, nullptr, path);
        book->show();
    }
    static QStringList Rows(const QListWidget* list) {
        QStringList rows;
        for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
        return rows;
    }
    void Type(const QString& name, const QString& number) {
        book->nameBox->setText(name);
        book->numberField->setText(number);
    }
    // The placeholder selected, empty boxes, only ADD enabled.
    bool NewEntryState() const {
        return book->entryList->currentRow() == 0 && book->nameBox->text().isEmpty() &&
               book->numberField->text().isEmpty() && book->addButton->isEnabled() &&
               !book->editButton->isEnabled() && !book->deleteButton->isEnabled() &&
               !book->callButton->isEnabled();
    }

    QTemporaryDir folder;
    QString path = folder.path() + QStringLiteral("/Softphone/records.txt");
    RecordingMessageBox messages;
    std::unique_ptr<PhoneBookDialog> book;
};

// The file's lines are listed after the placeholder in file order, and an added entry goes last;
// the file is rewritten with CRLF line ends.
TEST_F(RecordsTest, PhoneBookListsTheFileAndAddStoresTrimmedEntriesLast) {
    const struct {
        QString name, number;
        QByteArray line;
    } cases[] = {
        {"  Ann  ", " 123 ", "Ann--123"}, {"Mary Ann", "1 2", "Mary Ann--1 2"},
        {"x--y", "7", "x--y--7"},         {"--", "7", "----7"},
        {"Ann-", "8", "Ann---8"},         {"J\u00f6rg", "8", "J\xc3\xb6rg--8"},
    };
    Open("First--0\r\n\r\nBob--2\nCarl--3");
    EXPECT_EQ(Rows(book->entryList),
              (QStringList{"NEW ITEM!", "First--0", "", "Bob--2", "Carl--3"}));
    EXPECT_TRUE(NewEntryState());
    QByteArray expected = "First--0\r\n\r\nBob--2\r\nCarl--3\r\n";
    for (const auto& c : cases) {
        Type(c.name, c.number);
        book->addButton->click();
        expected += c.line + "\r\n";
        EXPECT_EQ(Bytes(), expected) << c.line.constData();
        EXPECT_EQ(Rows(book->entryList).last(), QString::fromUtf8(c.line));
        EXPECT_TRUE(NewEntryState());
    }
    EXPECT_TRUE(messages.shown.empty());
}

// Names holding "--" and fields longer than the boxes take (a line edited by hand) come back
// whole: selected, rewritten by an EDIT that changes nothing and handed over by CALL.
TEST_F(RecordsTest, SelectedEntryIsCutAtItsLastSeparatorAndComesBackWhole) {
    const QString longName = QStringLiteral("The Very Long Family Name of Forty Chars");
    const QString longNumber(40, QLatin1Char('9'));
    const struct {
        QString line, name, number;
    } cases[] = {
        {"Ann--123", "Ann", "123"},
        {"x--y--7", "x--y", "7"},
        {"Smith---555", "Smith-", "555"},
        {"--5", "", "5"},
        {"no separator", "no separator", ""},
        {longName + "--Work--" + longNumber, longName + "--Work", longNumber},
    };
    for (const auto& c : cases) {
        Open(c.line.toUtf8() + "\r\n");
        book->entryList->setCurrentRow(1);
        EXPECT_EQ(book->nameBox->text(), c.name) << c.line.toStdString();
        EXPECT_EQ(book->numberField->text(), c.number) << c.line.toStdString();
        EXPECT_FALSE(book->addButton->isEnabled());
        EXPECT_TRUE(book->editButton->isEnabled() && book->deleteButton->isEnabled());
        book->editButton->click();
        EXPECT_EQ(Bytes(), c.line.toUtf8() + "\r\n") << c.line.toStdString();
        // CALL hands over what the box shows, here less its last digit, without saving it.
        book->entryList->setCurrentRow(1);
        book->numberField->backspace();
        book->callButton->click();
        EXPECT_EQ(book->ChosenNumber(), c.number.left(c.number.size() - 1));
        EXPECT_FALSE(book->isVisible());
        EXPECT_EQ(Bytes(), c.line.toUtf8() + "\r\n");
    }
}

TEST_F(RecordsTest, EmptyBoxesAreRefusedAndChangeNothing) {
    Open("Ann--1\r\n");
    Type("", "123");
    book->addButton->click();
    EXPECT_EQ(book->focusWidget(), book->nameBox);
    Type("Bob", "");
    book->addButton->click();
    EXPECT_EQ(book->focusWidget(), book->numberField);
    book->entryList->setCurrentRow(1);
    Type("Ann", "");
    book->editButton->click();
    EXPECT_EQ(messages.shown,
              (QStringList{"Enter Name.", "Enter Phone Number.", "Enter Phone Number."}));
    EXPECT_EQ(Bytes(), QByteArray("Ann--1\r\n"));
    EXPECT_EQ(book->entryList->currentRow(), 1);
}

// EDIT and DELETE change only the selected entry, in place; the other lines are kept as the file
// holds them, with bytes that are not UTF-8, NUL or a lone CR.
TEST_F(RecordsTest, EditAndDeleteChangeOnlyTheSelectedEntry) {
    const QByteArray odd = QByteArray("\xff\xfe Bad\x80--1\x00\x01", 12) + "\r\na\rb";
    Open("Good--2\r\n" + odd + "\r\nAlso--3\r\n");
    book->entryList->setCurrentRow(1);
    book->nameBox->setText(QStringLiteral("Better"));
    book->editButton->click();
    book->entryList->setCurrentRow(4);
    book->deleteButton->click();
    Type("New", "4");
    book->addButton->click();
    EXPECT_EQ(Bytes(), "Better--2\r\n" + odd + "\r\nNew--4\r\n");
}

TEST_F(RecordsTest, HugeAndBinaryFilesOpenAndSurviveAnAdd) {
    QByteArray many;
    for (int i = 0; i < 100000; ++i) many += "Name " + QByteArray::number(i) + "--5\r\n";
    const QByteArray megabyte = "Long--" + QByteArray(1 << 20, '7');
    const QByteArray binary("\0\x01\xff--\x80\0", 7);
    for (const QByteArray& file : {many, megabyte + "\r\n" + binary + "\r\n"}) {
        Open(file);
        book->repaint();
        book->entryList->setCurrentRow(book->entryList->count() - 1);
        book->entryList->setCurrentRow(0);
        Type("Added", "1");
        book->addButton->click();
        EXPECT_TRUE(Bytes() == file + "Added--1\r\n");
    }
    // A megabyte line is shown cut short, and its whole number goes to the number box.
    book->entryList->setCurrentRow(1);
    EXPECT_LT(book->entryList->item(1)->text().size(), 1100);
    EXPECT_TRUE(book->numberField->text() == QString(1 << 20, QLatin1Char('7')));
}

TEST_F(RecordsTest, NumberBoxTakesDigitsAndBackspaceOnly) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString typed;
        QString boxAfter;  // the box holds "12" before each key; empty: the key is refused
    } cases[] = {
        {Qt::Key_5, Qt::NoModifier, "5", "125"},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", "1"},
        {Qt::Key_Left, Qt::NoModifier, "", "12"},
        {Qt::Key_Asterisk, Qt::NoModifier, "*", ""},
        {Qt::Key_V, Qt::ControlModifier, QString(QChar(22)), ""},
    };
    Open("");
    for (const auto& c : cases) {
        book->numberField->setText(QStringLiteral("12"));
        messages.shown.clear();
        QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, c.typed);
        QCoreApplication::sendEvent(book->numberField, &press);
        const bool refused = c.boxAfter.isEmpty();
        EXPECT_EQ(book->numberField->text(), refused ? QStringLiteral("12") : c.boxAfter);
        EXPECT_EQ(messages.shown,
                  refused ? QStringList{"Numbers 0 to 9 only, please!"} : QStringList());
    }
}

// A missing data file reads as empty and is created, with its folder. One that was not read
// whole is never rewritten: that would drop lines nobody saw.
TEST_F(RecordsTest, DataFileIsCreatedWhenMissingAndWrittenOnlyAfterARead) {
    EXPECT_EQ(DataFile(path).Read(), QList<QByteArray>());
    EXPECT_EQ(Bytes(), QByteArray());
    Put("old\r\n");
    EXPECT_FALSE(DataFile(path).Write({"new"}));
    EXPECT_EQ(Bytes(), QByteArray("old\r\n"));
}

TEST_F(RecordsTest, CallHistoryKeepsTheNewestFiveRecords) {
    const struct {
        std::optional<QByteArray> before;  // none: no file
        QString number;
        int hours, minutes, seconds;
        QByteArray after;
    } cases[] = {
        {std::nullopt, "123", 0, 1, 5, "123--Duration: 0:1:5\r\n"},
        {QByteArray(), "%1%2", 10, 0, 59, "%1%2--Duration: 10:0:59\r\n"},
        {"e\r\nd\r\nc\r\nb\r\na\r\n", "f", 0, 0, 1, "f--Duration: 0:0:1\r\ne\r\nd\r\nc\r\nb\r\n"},
        {"g\n\xff\x01--x\ne\nd\nc\nb\na\n", "h", 0, 0, 1,
         "h--Duration: 0:0:1\r\ng\r\n\xff\x01--x\r\ne\r\nd\r\n"},
    };
    for (const auto& c : cases) {
        QFile::remove(path);
        if (c.before) Put(*c.before);
        UpdateRecentCalls(c.number, c.hours, c.minutes, c.seconds, path);
        EXPECT_EQ(Bytes(), c.after) << c.number.toStdString();
    }
}

TEST_F(RecordsTest, RecentCallsListTheNewestFiveAndADoubleClickChoosesTheNumber) {
    Put("6--Duration: 0:0:6\r\n5\r\n4\r\n3\r\n2\r\n1\r\n");
    RecentCallsDialog list(nullptr, path);
    EXPECT_EQ(Rows(list.callList), (QStringList{"6--Duration: 0:0:6", "5", "4", "3", "2"}));
    list.show();
    list.closeButton->click();
    EXPECT_FALSE(list.isVisible());

    const struct {
        QString row;
        std::optional<QString> chosen;  // none: the window stays open
    } cases[] = {
        {"123--Duration: 0:1:5", "123"},
        {"12--34--Duration: 0:0:1", "12"},
        {"5551234", "5551234"},
        {"--Duration: 0:0:0", ""},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        Put(c.row.toUtf8() + "\r\n");
        RecentCallsDialog window(nullptr, path);
        window.show();
        emit window.callList->itemDoubleClicked(window.callList->item(0));
        EXPECT_EQ(window.ChosenNumber(), c.chosen) << c.row.toStdString();
        EXPECT_EQ(window.isVisible(), !c.chosen) << c.row.toStdString();
    }
}

}  // namespace
}  // namespace softphone::test
