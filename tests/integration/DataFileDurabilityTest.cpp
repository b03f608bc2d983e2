// What happens to the data files when the folder is read-only, the file unreadable, or the
// program killed in the middle of a rewrite. Runs the operations in a helper process, as the
// unprivileged user "nobody" where permissions matter (root may write anywhere).
#include <gtest/gtest.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace softphone {
namespace {

struct HelperRun {
    int exitCode;
    QStringList output;
};

class DurabilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(base.isValid());
        const passwd* nobody = ::getpwnam("nobody");
        const group* nogroup = ::getgrnam("nogroup");
        ASSERT_TRUE(nobody && nogroup);
        uid = nobody->pw_uid;
        gid = nogroup->gr_gid;
        ASSERT_EQ(::chmod(QFile::encodeName(base.path()), 0755), 0);
        ASSERT_TRUE(QDir().mkdir(folder));
    }

    // Makes `path` (file or folder) belong to nobody with the given mode.
    void GiveToNobody(const QString& path, mode_t mode) {
        ASSERT_EQ(::chown(QFile::encodeName(path), uid, gid), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(path), mode), 0);
    }
    void PutFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray FileBytes(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    HelperRun AsNobody(const QStringList& args) {
        QProcess helper;
        helper.start(QStringLiteral("setpriv"),
                     QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                 RECORDS_HELPER} +
                         args);
        helper.waitForFinished(20000);
        const QString out = QString::fromUtf8(helper.readAllStandardOutput());
        return {helper.exitCode(), out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)};
    }

    QTemporaryDir base;
    QString folder = base.path() + QStringLiteral("/Softphone");
    QString phoneBook = folder + QStringLiteral("/PhoneBook.txt");
    QString recentCalls = folder + QStringLiteral("/recentcall.txt");
    uid_t uid = 0;
    gid_t gid = 0;
};

TEST_F(DurabilityTest, ReadOnlyFolderKeepsTheOldFiles) {
    PutFile(phoneBook, "Ann--1\r\n");
    PutFile(recentCalls, "5--Duration: 0:0:5\r\n");
    GiveToNobody(phoneBook, 0644);
    GiveToNobody(recentCalls, 0644);
    GiveToNobody(folder, 0555);

    EXPECT_EQ(AsNobody({"write", phoneBook, "x"}).exitCode, 4);
    const HelperRun add = AsNobody({"phonebook-add", phoneBook, "Bob", "2"});
    EXPECT_EQ(add.output, (QStringList{"message: Could not save the phone book.",
                                       "row: NEW ITEM!", "row: Ann--1"}));
    AsNobody({"recent", recentCalls, "6"});
    EXPECT_EQ(FileBytes(phoneBook), QByteArray("Ann--1\r\n"));
    EXPECT_EQ(FileBytes(recentCalls), QByteArray("5--Duration: 0:0:5\r\n"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);
}

TEST_F(DurabilityTest, FileThatCannotBeReadIsNotEmptied) {
    PutFile(phoneBook, "Ann--1\r\n");
    PutFile(recentCalls, "5--Duration: 0:0:5\r\n");
    // Writable but not readable: a careless writer would replace what it never saw.
    GiveToNobody(phoneBook, 0200);
    GiveToNobody(recentCalls, 0200);
    GiveToNobody(folder, 0755);

    EXPECT_EQ(AsNobody({"write", phoneBook, "x"}).exitCode, 3);
    const HelperRun add = AsNobody({"phonebook-add", phoneBook, "Bob", "2"});
    EXPECT_EQ(add.output,
              (QStringList{"message: Could not save the phone book.", "row: NEW ITEM!"}));
    AsNobody({"recent", recentCalls, "6"});
    EXPECT_EQ(FileBytes(phoneBook), QByteArray("Ann--1\r\n"));
    EXPECT_EQ(FileBytes(recentCalls), QByteArray("5--Duration: 0:0:5\r\n"));
}

TEST_F(DurabilityTest, KilledDuringRewritesLeavesTheOldOrTheNewContent) {
    QByteArray contents[2];
    for (int i = 0; i < 20000; ++i) {
        contents[0] += "Old entry " + QByteArray::number(i) + "--0123456789012345678901\r\n";
        contents[1] += "New entry " + QByteArray::number(i) + "--9876543210987654321098\r\n";
    }
    PutFile(phoneBook, contents[0]);
    int seen[2] = {0, 0};
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; round < 40 && clock.elapsed() < 40000; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(RECORDS_HELPER), {"rewrite", phoneBook});
        ASSERT_TRUE(writer.waitForReadyRead(10000)) << "round " << round;
        QThread::usleep(static_cast<unsigned long>((round % 20) * 1000));
        writer.kill();  // SIGKILL
        writer.waitForFinished(5000);
        const QByteArray after = FileBytes(phoneBook);
        const bool old = after == contents[0], fresh = after == contents[1];
        ASSERT_TRUE(old || fresh) << "round " << round << ": " << after.size() << " bytes";
        ++seen[fresh ? 1 : 0];
    }
    EXPECT_GT(seen[0] + seen[1], 10);
}

}  // namespace
}  // namespace softphone
