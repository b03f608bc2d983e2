#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include "records/SettingsStore.h"

namespace softphone {
namespace {

mode_t ModeOf(const QString& path) {
    struct stat st = {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 0777;
}

class SettingsStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("cfg/Softphone/Softphone.conf");
    IniSettingsStore store{path};
};

TEST_F(SettingsStoreTest, MissingValuesReadEmptyAndValuesKeepEveryCharacter) {
    const QString odd = QStringLiteral("  a=b;c#d\"e\\f/g [h] ü ");
    {
        IniSettingsStore first(dir.filePath("other.conf"));
        EXPECT_EQ(ReadSavedValue(first, "Account"), "");
        WriteSavedValue(first, "Password", odd);
    }
    EXPECT_EQ(ReadSavedValue(IniSettingsStore(dir.filePath("other.conf")), "Password"), odd);
}

TEST_F(SettingsStoreTest, DeleteRemovesTheWholeApplicationOnly) {
    store.Write("Account", "Parameters", "Validation", "123");
    store.Write("Account", "Other", "Key", "x");
    WriteSavedValue(store, "Sip", "host");
    store.Delete("Account");
    EXPECT_EQ(ReadSavedValue(store, "Account"), "");
    EXPECT_EQ(store.Read("Account", "Other", "Key", "gone"), "gone");
    EXPECT_EQ(ReadSavedValue(store, "Sip"), "host");
}

TEST_F(SettingsStoreTest, FileHoldingThePasswordIsPrivate) {
    {
        IniSettingsStore first(path);
        WriteSavedValue(first, "Password", "secret");
        EXPECT_EQ(ModeOf(path), 0600u);
    }
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_EQ(ModeOf(dir.filePath("cfg/Softphone")), 0700u);
    // A later write keeps it private even if someone loosened it.
    ::chmod(QFile::encodeName(path).constData(), 0644);
    {
        IniSettingsStore second(path);
        WriteSavedValue(second, "Account", "1");
    }
    EXPECT_EQ(ModeOf(path), 0600u);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("secret"));
}

TEST_F(SettingsStoreTest, GarbageInTheFileReadsAsEmpty) {
    const QString path = dir.filePath("garbage.conf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QByteArray garbage("[Account\n\x01\x02\xff\xfe=\n[Sip]\nParameters\\Validation=@Variant(\\0\\0\\0\\x7f)\n");
    garbage.append(QByteArray(4096, '\0'));
    file.write(garbage);
    file.close();
    IniSettingsStore reread(path);
    EXPECT_EQ(ReadSavedValue(reread, "Sip"), "");
    EXPECT_EQ(ReadSavedValue(reread, "Account"), "");
    WriteSavedValue(reread, "Account", "42");
    EXPECT_EQ(ReadSavedValue(reread, "Account"), "42");
}

}  // namespace
}  // namespace softphone
