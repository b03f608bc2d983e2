// What happens to the data files when the folder is read-only, the file unreadable, or the
// program killed in the middle of a rewrite. The operations run in a process of their own (this
// program again, running a helper test on the file at DURABILITY_BOOK), as the unprivileged user
// "nobody" where permissions matter (root may write anywhere).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QThread>
#include <iostream>

#include "records/DataFile.h"
#include "records/PhoneBookDialog.h"
#include "tests/support/Child.h"
#include "tests/support/Fakes.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool PutFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QList<QByteArray> Entries(const char* kind) {
    QList<QByteArray> lines;
    for (int i = 0; i < 20000; ++i)
        lines << kind + QByteArray(" entry ") + QByteArray::number(i) + "--0123456789012345678901";
    return lines;
}

// The arguments that run this program's helper test `name` and nothing else.
QStringList Helper(const char* name) {
    return {"--gtest_also_run_disabled_tests",
            QStringLiteral("--gtest_filter=Helper.DISABLED_") + name};
}

// Adds Bob to the phone book, whose save fails; the list then shows DURABILITY_ROWS.
TEST(Helper, DISABLED_AddToPhoneBook) {
    RecordingMessageBox messages;
    PhoneBookDialog book(messages, nullptr, qEnvironmentVariable("DURABILITY_BOOK"));
    book.nameBox->setText("Bob");
    book.numberField->setText("2");
    book.OnAddClicked();
    EXPECT_EQ(messages.shown, QStringList{"Could not save the phone book."});
    QStringList rows;
    for (int row = 0; row < book.entryList->count(); ++row)
        rows << book.entryList->item(row)->text();
    EXPECT_EQ(rows.join('|'), qEnvironmentVariable("DURABILITY_ROWS"));
}

// Writes the old and the new content in turn until killed (or, as a safety net, for ten
// seconds); says "ready" after the first write.
TEST(Helper, DISABLED_RewriteUntilKilled) {
    const QList<QByteArray> contents[2] = {Entries("Old"), Entries("New")};
    DataFile file(qEnvironmentVariable("DURABILITY_BOOK"));
    ASSERT_TRUE(file.Read());
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; clock.elapsed() < 10000; ++round) {
        ASSERT_TRUE(file.Write(contents[round % 2 == 0 ? 1 : 0]));
        if (round == 0) std::cout << "ready" << std::endl;
    }
}

// A folder the phone book cannot be saved in, or a file it cannot be read from: the user is
// told, and the old file stays as it was. (The call history is written the same way.)
TEST(DurabilityTest, FilesThatCannotBeSavedKeepTheirOldContent) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand the files to another user";
    const struct {
        const char* name;
        mode_t folderMode, fileMode;
        const char* rows;  // the phone book's list after an entry was added
    } cases[] = {
        {"read-only folder", 0555, 0644, "NEW ITEM!|Ann--1"},
        // A careless writer would replace what it never saw.
        {"file writable but not readable", 0755, 0200, "NEW ITEM!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir base;
        ASSERT_EQ(::chmod(QFile::encodeName(base.path()), 0755), 0);
        const QString folder = base.filePath("Softphone");
        const QString book = folder + "/PhoneBook.txt";
        ASSERT_TRUE(QDir().mkdir(folder));
        ASSERT_TRUE(PutFile(book, "Ann--1\r\n"));
        for (const QString& path : {book, folder}) {
            ASSERT_EQ(::chown(QFile::encodeName(path), 65534, 65534), 0);  // nobody:nogroup
            ASSERT_EQ(::chmod(QFile::encodeName(path), path == folder ? c.folderMode : c.fileMode),
                      0);
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DURABILITY_BOOK", book);
        env.insert("DURABILITY_ROWS", c.rows);
        int status = -1;
        const QString log =
            Output("setpriv",
                   QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                               QCoreApplication::applicationFilePath()} +
                       Helper("AddToPhoneBook"),
                   &status, env);
        EXPECT_EQ(status, 0) << log.toStdString();
        EXPECT_EQ(FileBytes(book), "Ann--1\r\n");
        EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1) << "a temporary file left";
    }
}

TEST(DurabilityTest, KilledDuringRewritesLeavesTheOldOrTheNewContent) {
    QTemporaryDir folder;
    const QString book = folder.filePath("PhoneBook.txt");
    const QByteArray contents[2] = {Entries("Old").join("\r\n") + "\r\n",
                                    Entries("New").join("\r\n") + "\r\n"};
    ASSERT_TRUE(PutFile(book, contents[0]));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DURABILITY_BOOK", book);
    int rounds = 0;
    QElapsedTimer clock;
    clock.start();
    for (; rounds < 40 && clock.elapsed() < 40000; ++rounds) {
        Child writer(QCoreApplication::applicationFilePath(), Helper("RewriteUntilKilled"), env);
        QByteArray said;
        ASSERT_TRUE(
            WaitUntil([&] { return (said += writer.readAll()).contains("ready\n"); }, 10000))
            << "round " << rounds << ": " << said.toStdString();
        QThread::usleep(static_cast<unsigned long>((rounds % 20) * 1000));
        writer.kill();  // SIGKILL
        writer.waitForFinished(5000);
        const QByteArray after = FileBytes(book);
        ASSERT_TRUE(after == contents[0] || after == contents[1])
            << "round " << rounds << ": " << after.size() << " bytes";
    }
    EXPECT_GT(rounds, 10);
}

}  // namespace
}  // namespace softphone::test
