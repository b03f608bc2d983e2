// The settings file: values survive as typed, the file holding the password stays private, and
// a damaged file reads as empty.
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

TEST(SettingsStore, ValuesKeepEveryCharacterAndDeleteTakesOneApplication) {
    QTemporaryDir dir;
    const QString odd = QStringLiteral("  a=b;c#d\"e\\f/g [h] ü ");
    {
        IniSettingsStore first(dir.filePath("Softphone.conf"));
        EXPECT_EQ(ReadSavedValue(first, "Account"), "");
        WriteSavedValue(first, "Password", odd);
        WriteSavedValue(first, "Account", "1");
        first.Write("Account", "Other", "Key", "x");
        first.Delete("Account");
    }
    IniSettingsStore again(dir.filePath("Softphone.conf"));
    EXPECT_EQ(ReadSavedValue(again, "Password"), odd);
    EXPECT_EQ(ReadSavedValue(again, "Account"), "");
    EXPECT_EQ(again.Read("Account", "Other", "Key", "gone"), "gone");
}

TEST(SettingsStore, FileHoldingThePasswordIsPrivate) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cfg/Softphone/Softphone.conf");
    {
        IniSettingsStore first(path);
        WriteSavedValue(first, "Password", "secret");
        EXPECT_EQ(ModeOf(path), 0600u);
    }
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_EQ(ModeOf(dir.filePath("cfg/Softphone")), 0700u);
    // A later write keeps it private even if someone loosened it.
    ::chmod(QFile::encodeName(path).constData(), 0644);
    IniSettingsStore(path).Write("Account", "Parameters", "Validation", "1");
    EXPECT_EQ(ModeOf(path), 0600u);
}

TEST(SettingsStore, GarbageInTheFileReadsAsEmpty) {
    QTemporaryDir dir;
    QFile file(dir.filePath("garbage.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "[Account\n\x01\x02\xff\xfe=\n[Sip]\nParameters\\Validation=@Variant(\\0\\0\\0\\x7f)\n");
    file.write(QByteArray(4096, '\0'));
    file.close();
    IniSettingsStore reread(file.fileName());
    EXPECT_EQ(ReadSavedValue(reread, "Sip"), "");
    EXPECT_EQ(ReadSavedValue(reread, "Account"), "");
    WriteSavedValue(reread, "Account", "42");
    EXPECT_EQ(ReadSavedValue(reread, "Account"), "42");
}

}  // namespace
}  // namespace softphone
