// The data files when the folder is read-only, the file unreadable, or the program killed in
// the middle of a rewrite; forked children act, as "nobody" where permissions matter.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include "records/DataFile.h"
#include "records/PhoneBookDialog.h"
#include "tests/support/Child.h"
#include "tests/support/Fakes.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

// A folder the phone book cannot be saved in, or a file it cannot be read from: the user is
// told, and the old file stays as it was. (The call history is written the same way.)
TEST(DurabilityTest, FilesThatCannotBeSavedKeepTheirOldContent) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand the files to another user";
    const struct {
        const char* name;
        mode_t folderMode, fileMode;
        QStringList rows;  // the phone book's list after an entry was added
    } cases[] = {
        {"read-only folder", 0555, 0644, {"NEW ITEM!", "Ann--1"}},
        // A careless writer would replace what it never saw.
        {"file writable but not readable", 0755, 0200, {"NEW ITEM!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir base;
        ASSERT_EQ(::chmod(QFile::encodeName(base.path()), 0755), 0);
        const QString folder = base.filePath("Softphone"), book = folder + "/PhoneBook.txt";
        DataFile seed(book);
        ASSERT_TRUE(QDir().mkdir(folder) && seed.read() && seed.write({"Ann--1"}));
        for (const auto& [path, mode] : {std::pair{book, c.fileMode}, {folder, c.folderMode}})
            ASSERT_TRUE(::chown(QFile::encodeName(path), 65534, 65534) == 0 &&  // nobody:nogroup
                        ::chmod(QFile::encodeName(path), mode) == 0);
        const pid_t child = ::fork();
        if (child == 0) {  // as nobody, adds Bob; exits with 0 if the user is told and not misled
            if (::setgroups(0, nullptr) || ::setgid(65534) || ::setuid(65534)) ::_exit(2);
            RecordingMessageBox messages;
            PhoneBookDialog dialog(messages, nullptr, book);
            dialog.nameBox->setText("Bob");
            dialog.numberField->setText("2");
            dialog.addButton->click();
            QStringList rows;
            for (int row = 0; row < dialog.entryList->model()->rowCount(); ++row)
                rows << dialog.entryList->model()->index(row, 0).data().toString();
            const bool told = messages.shown == QStringList{"Could not save the phone book."};
            ::_exit(told && rows == c.rows ? 0 : 1);
        }
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(status, 0) << "no message, or the list is not what the file holds";
        EXPECT_EQ(fileBytes(book), "Ann--1\r\n");
        EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1) << "a temporary file left";
    }
}

// Killed at any moment of a rewrite, as by a crash or a log-out, the file holds all of the old
// content or all of the new, never a mix or a cut.
TEST(DurabilityTest, KilledDuringRewritesLeavesTheOldOrTheNewContent) {
    QTemporaryDir folder;
    const QString book = folder.filePath("PhoneBook.txt");
    DataFile file(book);  // written here each round, then rewritten by a forked copy until killed
    ASSERT_TRUE(file.read());
    QList<QByteArray> contents[2];
    for (int i = 0; i < 20000; ++i) {
        contents[0] << "Old entry " + QByteArray::number(i) + "--0123456789012345678901";
        contents[1] << "New entry " + QByteArray::number(i) + "--9876543210987654321098";
    }
    const QByteArray old = contents[0].join("\r\n") + "\r\n",
                     now = contents[1].join("\r\n") + "\r\n";
    int rounds = 0;
    for (const QDeadlineTimer end(40000); rounds < 40 && !end.hasExpired(); ++rounds) {
        ASSERT_TRUE(file.write(contents[0]));
        // Writes the new and the old content in turn until killed (ten seconds at most).
        const pid_t writer = ::fork();
        if (writer == 0) {
            const QDeadlineTimer stop(10000);
            for (int round = 0; !stop.hasExpired(); ++round) file.write(contents[1 - round % 2]);
            ::_exit(0);
        }
        ASSERT_TRUE(waitUntil([&] { return fileBytes(book) == now; }, 10000)) << "round " << rounds;
        QThread::usleep(static_cast<unsigned long>((rounds % 20) * 1000));
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        const QByteArray after = fileBytes(book);
        ASSERT_TRUE(after == old || after == now)
            << "round " << rounds << ": " << after.size() << " bytes";
    }
    EXPECT_GT(rounds, 10);
}

}  // namespace
}  // namespace softphone::test
