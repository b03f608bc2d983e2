// What happens to the data files when the folder is read-only, the file unreadable, or the
// program killed in the middle of a rewrite. Runs the operations in a helper process, as the
// unprivileged user "nobody" where permissions matter (root may write anywhere).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "tests/support/Child.h"

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

// A folder the phone book cannot be saved in, or a file it cannot be read from: the user is
// told, and the old file stays as it was. (The call history is written the same way.)
TEST(DurabilityTest, FilesThatCannotBeSavedKeepTheirOldContent) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand the files to another user";
    const struct {
        const char* name;
        mode_t folderMode, fileMode;
        QString rows;  // the phone book's list after an entry was added
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
            int status = -1;
            Output("chown", {"nobody:nogroup", path}, &status);
            ASSERT_EQ(status, 0);
            ASSERT_EQ(::chmod(QFile::encodeName(path), path == folder ? c.folderMode : c.fileMode),
                      0);
        }
        EXPECT_EQ(Output("setpriv", {"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                     RECORDS_HELPER, "phonebook-add", book, "Bob", "2"}),
                  "message: Could not save the phone book.\nrow: " +
                      QString(c.rows).replace("|", "\nrow: "));
        EXPECT_EQ(FileBytes(book), "Ann--1\r\n");
        EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1) << "a temporary file left";
    }
}

TEST(DurabilityTest, KilledDuringRewritesLeavesTheOldOrTheNewContent) {
    QTemporaryDir folder;
    const QString book = folder.filePath("PhoneBook.txt");
    QByteArray contents[2];
    for (int i = 0; i < 20000; ++i) {
        contents[0] += "Old entry " + QByteArray::number(i) + "--0123456789012345678901\r\n";
        contents[1] += "New entry " + QByteArray::number(i) + "--9876543210987654321098\r\n";
    }
    ASSERT_TRUE(PutFile(book, contents[0]));
    int rounds = 0;
    QElapsedTimer clock;
    clock.start();
    for (; rounds < 40 && clock.elapsed() < 40000; ++rounds) {
        Child writer(RECORDS_HELPER, {"rewrite", book});
        ASSERT_TRUE(writer.waitForReadyRead(10000)) << "round " << rounds;
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
