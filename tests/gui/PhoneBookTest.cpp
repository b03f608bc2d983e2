// The phone book window driven through its handlers, against a file in a private folder.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "records/PhoneBookDialog.h"
#include "tests/support/Fakes.h"

namespace softphone {
namespace {

class PhoneBookTest : public ::testing::Test {
protected:

    PhoneBookDialog& Open(const QByteArray& fileBytes) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(fileBytes);
        file.close();
        return OpenAsItIs();
    }
    PhoneBookDialog& OpenAsItIs() {
        window = std::make_unique<PhoneBookDialog>(messages, nullptr, path);
        window->show();
        return *window;
    }
    QByteArray FileBytes() const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < window->entryList->count(); ++i)
            rows << window->entryList->item(i)->text();
        return rows;
    }
    void Type(const QString& name, const QString& number) {
        window->nameBox->setText(name);
        window->numberField->setText(number);
    }
    // The new-entry state: placeholder selected, empty boxes, only ADD enabled.
    void ExpectNewEntryState() {
        EXPECT_EQ(window->entryList->currentRow(), 0);
        EXPECT_EQ(window->nameBox->text(), QString());
        EXPECT_EQ(window->numberField->text(), QString());
        EXPECT_TRUE(window->addButton->isEnabled());
        EXPECT_FALSE(window->editButton->isEnabled());
        EXPECT_FALSE(window->deleteButton->isEnabled());
        EXPECT_FALSE(window->callButton->isEnabled());
    }

    QTemporaryDir folder;
    QString path = folder.path() + QStringLiteral("/PhoneBook.txt");
    test::RecordingMessageBox messages;
    std::unique_ptr<PhoneBookDialog> window;
};

TEST_F(PhoneBookTest, ShowsThePlaceholderThenTheLinesInFileOrder) {
    Open("Ann--1\r\n\r\nBob--2\n");
    EXPECT_EQ(Rows(), (QStringList{"NEW ITEM!", "Ann--1", "", "Bob--2"}));
    EXPECT_TRUE(window->entryList->font().fixedPitch() ||
                window->entryList->font().family() == QStringLiteral("Liberation Mono"));
    ExpectNewEntryState();
}

TEST_F(PhoneBookTest, MissingFileGivesOnlyThePlaceholderAndAnEmptyFile) {
    OpenAsItIs();
    EXPECT_EQ(Rows(), QStringList{"NEW ITEM!"});
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(FileBytes(), QByteArray());
}

TEST_F(PhoneBookTest, AddStoresTrimmedEntriesLast) {
    const struct {
        QString name, number;
        QByteArray line;
    } cases[] = {
        {"  Ann  ", " 123 ", "Ann--123"},
        {"   ", "5", "--5"},
        {"Mary Ann", "1 2", "Mary Ann--1 2"},
        {"x--y", "7", "x--y--7"},
        {"J\u00f6rg", "8", "J\xc3\xb6rg--8"},
    };
    Open("First--0\r\n");
    QByteArray expected = "First--0\r\n";
    for (const auto& c : cases) {
        Type(c.name, c.number);
        window->OnAddClicked();
        expected += c.line + "\r\n";
        EXPECT_EQ(FileBytes(), expected) << c.line.constData();
        EXPECT_EQ(Rows().last(), QString::fromUtf8(c.line));
        ExpectNewEntryState();
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PhoneBookTest, EmptyBoxesAreRefusedAndChangeNothing) {
    PhoneBookDialog& book = Open("Ann--1\r\n");
    Type("", "123");
    book.OnAddClicked();
    EXPECT_EQ(book.focusWidget(), book.nameBox);
    Type("Bob", "");
    book.OnAddClicked();
    EXPECT_EQ(book.focusWidget(), book.numberField);
    book.entryList->setCurrentRow(1);
    Type("Ann", "");
    book.OnEditClicked();
    EXPECT_EQ(messages.Texts(),
              (QStringList{"Enter Name.", "Enter Phone Number.", "Enter Phone Number."}));
    for (const auto& shown : messages.shown) {
        EXPECT_EQ(shown.title, kAppTitle);
        EXPECT_EQ(shown.icon, MessageIcon::None);
    }
    EXPECT_EQ(FileBytes(), QByteArray("Ann--1\r\n"));
    EXPECT_EQ(book.entryList->currentRow(), 1);
    EXPECT_TRUE(book.editButton->isEnabled());
}

TEST_F(PhoneBookTest, SelectingARowCutsItAtTheLastSeparator) {
    const struct {
        QString row, name, number;
    } cases[] = {
        {"Ann--123", "Ann", "123"},
        {"x--y--7", "x--y", "7"},
        {"Smith---555", "Smith-", "555"},
        {"--5", "", "5"},
        {"no separator", "no separator", ""},
        {"", "", ""},
    };
    QByteArray file;
    for (const auto& c : cases) file += c.row.toUtf8() + "\r\n";
    PhoneBookDialog& book = Open(file);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        book.entryList->setCurrentRow(i + 1);
        EXPECT_EQ(book.nameBox->text(), cases[i].name) << i;
        EXPECT_EQ(book.numberField->text(), cases[i].number) << i;
        EXPECT_FALSE(book.addButton->isEnabled());
        EXPECT_TRUE(book.editButton->isEnabled() && book.deleteButton->isEnabled() &&
                    book.callButton->isEnabled());
    }
    book.entryList->setCurrentRow(0);
    ExpectNewEntryState();
}

// Names holding "--" (typed, or in a line of an older version) and fields longer than the boxes
// take (a line edited by hand) come back whole: selected, handed over by CALL and rewritten by
// an EDIT that changes nothing.
TEST_F(PhoneBookTest, EntriesComeBackWholeThroughSelectCallAndEdit) {
    const QString longName = QStringLiteral("The Very Long Family Name of Forty Chars");
    const QString longNumber = QString(40, QLatin1Char('9'));
    const struct {
        QString name, number;
        QByteArray line;
        bool byAdd;  // typed and added; otherwise the line is in the file already
    } cases[] = {
        {"Smith--Home", "555", "Smith--Home--555", true},
        {" x--y--z ", "12", "x--y--z--12", true},
        {"--", "7", "----7", true},
        {"Ann-", "8", "Ann---8", true},
        {"Old--Style", "0049", "Old--Style--0049", false},
        {longName, "1", longName.toUtf8() + "--1", false},
        {"Bob", longNumber, "Bob--" + longNumber.toUtf8(), false},
        {longName + "--Work", longNumber, (longName + "--Work--" + longNumber).toUtf8(), false},
    };
    for (const auto& c : cases) {
        const QByteArray file = c.byAdd ? QByteArray() : c.line + "\r\n";
        PhoneBookDialog& book = Open(file);
        if (c.byAdd) {
            Type(c.name, c.number);
            book.OnAddClicked();
            ASSERT_EQ(FileBytes(), c.line + "\r\n") << c.line.constData();
        }
        EXPECT_EQ(Rows().last(), QString::fromUtf8(c.line));
        book.entryList->setCurrentRow(1);
        EXPECT_EQ(book.nameBox->text(), c.name.trimmed()) << c.line.constData();
        EXPECT_EQ(book.numberField->text(), c.number) << c.line.constData();
        book.OnEditClicked();
        EXPECT_EQ(FileBytes(), c.line + "\r\n") << c.line.constData();
        book.entryList->setCurrentRow(1);
        book.OnCallClicked();
        EXPECT_EQ(book.ChosenNumber(), c.number) << c.line.constData();
    }
}

TEST_F(PhoneBookTest, AChangedFieldReplacesOnlyItselfInALongEntry) {
    const QByteArray longNumber(40, '9');
    PhoneBookDialog& book = Open("Bob--" + longNumber + "\r\n");
    book.entryList->setCurrentRow(1);
    book.nameBox->setText(QStringLiteral("Robert"));
    book.OnEditClicked();
    EXPECT_EQ(FileBytes(), "Robert--" + longNumber + "\r\n");
    book.entryList->setCurrentRow(1);
    book.numberField->setText(QStringLiteral("123"));
    book.OnEditClicked();
    EXPECT_EQ(FileBytes(), QByteArray("Robert--123\r\n"));
}

TEST_F(PhoneBookTest, EditKeepsThePosition) {
    PhoneBookDialog& book = Open("A--1\r\nB--2\r\nC--3\r\n");
    book.entryList->setCurrentRow(2);
    book.numberField->setText(QStringLiteral("22"));
    book.OnEditClicked();
    EXPECT_EQ(FileBytes(), QByteArray("A--1\r\nB--22\r\nC--3\r\n"));
    EXPECT_EQ(Rows(), (QStringList{"NEW ITEM!", "A--1", "B--22", "C--3"}));
    ExpectNewEntryState();
}

TEST_F(PhoneBookTest, DeletingTheOnlyEntryLeavesAnEmptyFile) {
    PhoneBookDialog& book = Open("A--1\r\n");
    book.entryList->setCurrentRow(1);
    book.OnDeleteClicked();
    EXPECT_EQ(FileBytes(), QByteArray());
    EXPECT_EQ(Rows(), QStringList{"NEW ITEM!"});
    ExpectNewEntryState();
}

TEST_F(PhoneBookTest, ThePlaceholderCannotBeDeleted) {
    PhoneBookDialog& book = Open("A--1\r\n");
    book.OnDeleteClicked();
    EXPECT_EQ(messages.Texts(), QStringList{"Can't Delete."});
    EXPECT_EQ(FileBytes(), QByteArray("A--1\r\n"));
}

TEST_F(PhoneBookTest, CallHandsOverAnUnsavedEditAndCloses) {
    PhoneBookDialog& book = Open("A--1\r\n");
    book.entryList->setCurrentRow(1);
    book.numberField->setText(QStringLiteral("999"));
    book.callButton->click();
    EXPECT_EQ(book.ChosenNumber(), QStringLiteral("999"));
    EXPECT_FALSE(book.isVisible());
    EXPECT_EQ(FileBytes(), QByteArray("A--1\r\n"));
}

TEST_F(PhoneBookTest, LinesThatAreNotUtf8SurviveChangesToOtherRows) {
    const QByteArray odd = "\xff\xfe Bad\x80--1\x00\x01";
    PhoneBookDialog& book = Open("Good--2\r\n" + odd + "\r\nAlso--3\r\n");
    book.entryList->setCurrentRow(1);
    book.nameBox->setText(QStringLiteral("Better"));
    book.OnEditClicked();
    book.entryList->setCurrentRow(3);
    book.OnDeleteClicked();
    Type("New", "4");
    book.OnAddClicked();
    EXPECT_EQ(FileBytes(), "Better--2\r\n" + odd + "\r\nNew--4\r\n");
}

TEST_F(PhoneBookTest, HugeAndBinaryFilesOpenAndSurviveAnAdd) {
    QByteArray many;
    for (int i = 0; i < 100000; ++i) many += "Name " + QByteArray::number(i) + "--5\r\n";
    const QByteArray megabyte = "Long--" + QByteArray(1 << 20, '7');
    const QByteArray binary("\0\x01\xff--\x80\0", 7);
    const QByteArray files[] = {many, megabyte + "\r\n" + binary + "\r\n"};
    for (const QByteArray& file : files) {
        QElapsedTimer clock;
        clock.start();
        PhoneBookDialog& book = Open(file);
        book.repaint();
        book.entryList->setCurrentRow(1);
        book.entryList->setCurrentRow(book.entryList->count() - 1);
        Type("Added", "1");
        book.OnAddClicked();
        EXPECT_EQ(FileBytes(), file + "Added--1\r\n");
        EXPECT_LT(clock.elapsed(), 20000);
    }
    // A megabyte line is shown cut short, and its whole number goes to the number box.
    window->entryList->setCurrentRow(1);
    EXPECT_LT(window->entryList->item(1)->text().size(), 1100);
    EXPECT_EQ(window->numberField->text(), QString(1 << 20, QLatin1Char('7')));
}

TEST_F(PhoneBookTest, NumberBoxTakesDigitsAndBackspaceOnly) {
    const struct {
        const char* what;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString typed;
        QString boxAfter;  // the box holds "12" before each key
        bool refused;
    } cases[] = {
        {"digit", Qt::Key_5, Qt::NoModifier, "5", "125", false},
        {"backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", "1", false},
        {"left arrow", Qt::Key_Left, Qt::NoModifier, "", "12", false},
        {"delete", Qt::Key_Delete, Qt::NoModifier, "\x7f", "12", false},
        {"shift alone", Qt::Key_Shift, Qt::ShiftModifier, "", "12", false},
        {"star", Qt::Key_Asterisk, Qt::NoModifier, "*", "12", true},
        {"pound", Qt::Key_NumberSign, Qt::NoModifier, "#", "12", true},
        {"plus", Qt::Key_Plus, Qt::NoModifier, "+", "12", true},
        {"letter", Qt::Key_A, Qt::NoModifier, "a", "12", true},
        {"space", Qt::Key_Space, Qt::NoModifier, " ", "12", true},
        {"enter", Qt::Key_Return, Qt::NoModifier, "\r", "12", true},
        {"ctrl+v", Qt::Key_V, Qt::ControlModifier, QString(QChar(22)), "12", true},
    };
    PhoneBookDialog& book = OpenAsItIs();
    for (const auto& c : cases) {
        book.numberField->setText(QStringLiteral("12"));
        messages.shown.clear();
        QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, c.typed);
        QCoreApplication::sendEvent(book.numberField, &press);
        EXPECT_EQ(book.numberField->text(), c.boxAfter) << c.what;
        ASSERT_EQ(messages.shown.size(), c.refused ? 1u : 0u) << c.what;
        if (!c.refused) continue;
        EXPECT_EQ(messages.shown[0].text, QStringLiteral("Numbers 0 to 9 only, please!"));
        EXPECT_EQ(messages.shown[0].title, QStringLiteral("Input Error"));
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    }
    QKeyEvent nameKey(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier, QStringLiteral("+"));
    QCoreApplication::sendEvent(book.nameBox, &nameKey);
    EXPECT_EQ(book.nameBox->text(), QStringLiteral("+"));
}

// Also after a longer entry was shown in them.
TEST_F(PhoneBookTest, BoxesKeepTheirLengthLimitsForANewEntry) {
    const QByteArray longLine = QByteArray(50, 'L') + "--" + QByteArray(50, '2');
    PhoneBookDialog& book = Open(longLine + "\r\n");
    book.entryList->setCurrentRow(1);
    book.entryList->setCurrentRow(0);
    Type(QString(40, QLatin1Char('n')), QString(40, QLatin1Char('1')));
    book.OnAddClicked();
    EXPECT_EQ(FileBytes(),
              longLine + "\r\n" + QByteArray(30, 'n') + "--" + QByteArray(25, '1') + "\r\n");
}

}  // namespace
}  // namespace softphone
