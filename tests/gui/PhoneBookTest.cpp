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

#include "records/frmPhoneBook.h"
#include "tests/support/Fakes.h"

namespace softphone {
namespace {

class PhoneBookTest : public ::testing::Test {
protected:
    PhoneBookTest() { cmbPhoneNo.setEditable(true); }

    frmPhoneBook& Open(const QByteArray& fileBytes) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(fileBytes);
        file.close();
        return OpenAsItIs();
    }
    frmPhoneBook& OpenAsItIs() {
        window = std::make_unique<frmPhoneBook>(messages, &cmbPhoneNo, nullptr, path);
        window->show();
        return *window;
    }
    QByteArray FileBytes() const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < window->lstPhoneBook->count(); ++i)
            rows << window->lstPhoneBook->item(i)->text();
        return rows;
    }
    void Type(const QString& name, const QString& number) {
        window->txtName->setText(name);
        window->txtPhoneNo->setText(number);
    }
    // The new-entry state: placeholder selected, empty boxes, only ADD enabled.
    void ExpectNewEntryState() {
        EXPECT_EQ(window->lstPhoneBook->currentRow(), 0);
        EXPECT_EQ(window->txtName->text(), QString());
        EXPECT_EQ(window->txtPhoneNo->text(), QString());
        EXPECT_TRUE(window->cmdAdd->isEnabled());
        EXPECT_FALSE(window->cmdEdit->isEnabled());
        EXPECT_FALSE(window->cmdDelete->isEnabled());
        EXPECT_FALSE(window->cmdCall->isEnabled());
    }

    QTemporaryDir folder;
    QString path = folder.path() + QStringLiteral("/PhoneBook.txt");
    test::RecordingMessageBox messages;
    QComboBox cmbPhoneNo;
    std::unique_ptr<frmPhoneBook> window;
};

TEST_F(PhoneBookTest, ShowsThePlaceholderThenTheLinesInFileOrder) {
    Open("Ann--1\r\n\r\nBob--2\n");
    EXPECT_EQ(Rows(), (QStringList{"NEW ITEM!", "Ann--1", "", "Bob--2"}));
    EXPECT_TRUE(window->lstPhoneBook->font().fixedPitch() ||
                window->lstPhoneBook->font().family() == QStringLiteral("Liberation Mono"));
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
        window->cmdAdd_Click();
        expected += c.line + "\r\n";
        EXPECT_EQ(FileBytes(), expected) << c.line.constData();
        EXPECT_EQ(Rows().last(), QString::fromUtf8(c.line));
        ExpectNewEntryState();
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PhoneBookTest, EmptyBoxesAreRefusedAndChangeNothing) {
    frmPhoneBook& book = Open("Ann--1\r\n");
    Type("", "123");
    book.cmdAdd_Click();
    EXPECT_EQ(book.focusWidget(), book.txtName);
    Type("Bob", "");
    book.cmdAdd_Click();
    EXPECT_EQ(book.focusWidget(), book.txtPhoneNo);
    book.lstPhoneBook->setCurrentRow(1);
    Type("Ann", "");
    book.cmdEdit_Click();
    EXPECT_EQ(messages.Texts(),
              (QStringList{"Enter Name.", "Enter Phone Number.", "Enter Phone Number."}));
    for (const auto& shown : messages.shown) {
        EXPECT_EQ(shown.title, kAppTitle);
        EXPECT_EQ(shown.icon, MessageIcon::None);
    }
    EXPECT_EQ(FileBytes(), QByteArray("Ann--1\r\n"));
    EXPECT_EQ(book.lstPhoneBook->currentRow(), 1);
    EXPECT_TRUE(book.cmdEdit->isEnabled());
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
    frmPhoneBook& book = Open(file);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        book.lstPhoneBook->setCurrentRow(i + 1);
        EXPECT_EQ(book.txtName->text(), cases[i].name) << i;
        EXPECT_EQ(book.txtPhoneNo->text(), cases[i].number) << i;
        EXPECT_FALSE(book.cmdAdd->isEnabled());
        EXPECT_TRUE(book.cmdEdit->isEnabled() && book.cmdDelete->isEnabled() &&
                    book.cmdCall->isEnabled());
    }
    book.lstPhoneBook->setCurrentRow(0);
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
        frmPhoneBook& book = Open(file);
        if (c.byAdd) {
            Type(c.name, c.number);
            book.cmdAdd_Click();
            ASSERT_EQ(FileBytes(), c.line + "\r\n") << c.line.constData();
        }
        EXPECT_EQ(Rows().last(), QString::fromUtf8(c.line));
        book.lstPhoneBook->setCurrentRow(1);
        EXPECT_EQ(book.txtName->text(), c.name.trimmed()) << c.line.constData();
        EXPECT_EQ(book.txtPhoneNo->text(), c.number) << c.line.constData();
        book.cmdEdit_Click();
        EXPECT_EQ(FileBytes(), c.line + "\r\n") << c.line.constData();
        book.lstPhoneBook->setCurrentRow(1);
        book.cmdCall_Click();
        EXPECT_EQ(cmbPhoneNo.currentText(), c.number) << c.line.constData();
    }
}

TEST_F(PhoneBookTest, AChangedFieldReplacesOnlyItselfInALongEntry) {
    const QByteArray longNumber(40, '9');
    frmPhoneBook& book = Open("Bob--" + longNumber + "\r\n");
    book.lstPhoneBook->setCurrentRow(1);
    book.txtName->setText(QStringLiteral("Robert"));
    book.cmdEdit_Click();
    EXPECT_EQ(FileBytes(), "Robert--" + longNumber + "\r\n");
    book.lstPhoneBook->setCurrentRow(1);
    book.txtPhoneNo->setText(QStringLiteral("123"));
    book.cmdEdit_Click();
    EXPECT_EQ(FileBytes(), QByteArray("Robert--123\r\n"));
}

TEST_F(PhoneBookTest, EditKeepsThePosition) {
    frmPhoneBook& book = Open("A--1\r\nB--2\r\nC--3\r\n");
    book.lstPhoneBook->setCurrentRow(2);
    book.txtPhoneNo->setText(QStringLiteral("22"));
    book.cmdEdit_Click();
    EXPECT_EQ(FileBytes(), QByteArray("A--1\r\nB--22\r\nC--3\r\n"));
    EXPECT_EQ(Rows(), (QStringList{"NEW ITEM!", "A--1", "B--22", "C--3"}));
    ExpectNewEntryState();
}

TEST_F(PhoneBookTest, DeletingTheOnlyEntryLeavesAnEmptyFile) {
    frmPhoneBook& book = Open("A--1\r\n");
    book.lstPhoneBook->setCurrentRow(1);
    book.cmdDelete_Click();
    EXPECT_EQ(FileBytes(), QByteArray());
    EXPECT_EQ(Rows(), QStringList{"NEW ITEM!"});
    ExpectNewEntryState();
}

TEST_F(PhoneBookTest, ThePlaceholderCannotBeDeleted) {
    frmPhoneBook& book = Open("A--1\r\n");
    book.cmdDelete_Click();
    EXPECT_EQ(messages.Texts(), QStringList{"Can't Delete."});
    EXPECT_EQ(FileBytes(), QByteArray("A--1\r\n"));
}

TEST_F(PhoneBookTest, CallHandsOverAnUnsavedEditAndCloses) {
    frmPhoneBook& book = Open("A--1\r\n");
    book.lstPhoneBook->setCurrentRow(1);
    book.txtPhoneNo->setText(QStringLiteral("999"));
    book.cmdCall->click();
    EXPECT_EQ(cmbPhoneNo.currentText(), QStringLiteral("999"));
    EXPECT_FALSE(book.isVisible());
    EXPECT_EQ(FileBytes(), QByteArray("A--1\r\n"));
}

TEST_F(PhoneBookTest, LinesThatAreNotUtf8SurviveChangesToOtherRows) {
    const QByteArray odd = "\xff\xfe Bad\x80--1\x00\x01";
    frmPhoneBook& book = Open("Good--2\r\n" + odd + "\r\nAlso--3\r\n");
    book.lstPhoneBook->setCurrentRow(1);
    book.txtName->setText(QStringLiteral("Better"));
    book.cmdEdit_Click();
    book.lstPhoneBook->setCurrentRow(3);
    book.cmdDelete_Click();
    Type("New", "4");
    book.cmdAdd_Click();
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
        frmPhoneBook& book = Open(file);
        book.repaint();
        book.lstPhoneBook->setCurrentRow(1);
        book.lstPhoneBook->setCurrentRow(book.lstPhoneBook->count() - 1);
        Type("Added", "1");
        book.cmdAdd_Click();
        EXPECT_EQ(FileBytes(), file + "Added--1\r\n");
        EXPECT_LT(clock.elapsed(), 20000);
    }
    // A megabyte line is shown cut short, and its whole number goes to the number box.
    window->lstPhoneBook->setCurrentRow(1);
    EXPECT_LT(window->lstPhoneBook->item(1)->text().size(), 1100);
    EXPECT_EQ(window->txtPhoneNo->text(), QString(1 << 20, QLatin1Char('7')));
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
    frmPhoneBook& book = OpenAsItIs();
    for (const auto& c : cases) {
        book.txtPhoneNo->setText(QStringLiteral("12"));
        messages.shown.clear();
        QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, c.typed);
        QCoreApplication::sendEvent(book.txtPhoneNo, &press);
        EXPECT_EQ(book.txtPhoneNo->text(), c.boxAfter) << c.what;
        ASSERT_EQ(messages.shown.size(), c.refused ? 1u : 0u) << c.what;
        if (!c.refused) continue;
        EXPECT_EQ(messages.shown[0].text, QStringLiteral("Numbers 0 to 9 only, please!"));
        EXPECT_EQ(messages.shown[0].title, QStringLiteral("Input Error"));
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    }
    QKeyEvent nameKey(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier, QStringLiteral("+"));
    QCoreApplication::sendEvent(book.txtName, &nameKey);
    EXPECT_EQ(book.txtName->text(), QStringLiteral("+"));
}

// Also after a longer entry was shown in them.
TEST_F(PhoneBookTest, BoxesKeepTheirLengthLimitsForANewEntry) {
    const QByteArray longLine = QByteArray(50, 'L') + "--" + QByteArray(50, '2');
    frmPhoneBook& book = Open(longLine + "\r\n");
    book.lstPhoneBook->setCurrentRow(1);
    book.lstPhoneBook->setCurrentRow(0);
    Type(QString(40, QLatin1Char('n')), QString(40, QLatin1Char('1')));
    book.cmdAdd_Click();
    EXPECT_EQ(FileBytes(),
              longLine + "\r\n" + QByteArray(30, 'n') + "--" + QByteArray(25, '1') + "\r\n");
}

}  // namespace
}  // namespace softphone
