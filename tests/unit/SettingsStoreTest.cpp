// The settings file: values survive as typed, the file holding the password stays private, and
// a damaged file reads as empty.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "records/SavedLogin.h"
#include "records/SettingsStore.h"

namespace softphone {
namespace {

const auto kPrivate = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;

// The password keeps every character across a restart; the file holding it and its folder stay
// private to the user from the first write on; a forgotten entry stays forgotten. A damaged file
// reads as no saved login, and a new login is stored over it.
TEST(SettingsStore, ValuesKeepEveryCharacterInAPrivateFileAndGarbageReadsAsEmpty) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cfg/Softphone/Softphone.conf");
    const QString odd = QStringLiteral("  a=b;c#d\"e\\f/g [h] \u00fc ");
    {
        IniSettingsStore first(path);
        SavedLogin{"", odd, "", true}.write(first);
        EXPECT_EQ(QFile::permissions(path), kPrivate);
        SavedLogin{"1", odd, "", true}.write(first);
        first.remove("Account");
    }
    EXPECT_EQ(QFile::permissions(QFileInfo(path).path()),
              kPrivate | QFile::ExeOwner | QFile::ExeUser);
    // A later write keeps it private even if someone loosened it.
    QFile::setPermissions(path, kPrivate | QFile::ReadGroup | QFile::ReadOther);
    {
        IniSettingsStore again(path);
        const SavedLogin stored = SavedLogin::read(again);
        EXPECT_EQ(std::pair(stored.account, stored.password), std::pair(QString(), odd));
        SavedLogin{"2", odd, "", true}.write(again);
    }
    EXPECT_EQ(QFile::permissions(path), kPrivate);

    QFile file(dir.filePath("garbage.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "[Account\n\x01\x02\xff\xfe=\n[Sip]\nParameters\\Validation=@Variant(\\0\\0\\0\\x7f)\n" +
        QByteArray(4096, '\0'));
    file.close();
    IniSettingsStore reread(file.fileName());
    EXPECT_EQ(SavedLogin::read(reread).sip + SavedLogin::read(reread).account, "");
    SavedLogin{"42", "", "", false}.write(reread);
    EXPECT_EQ(SavedLogin::read(reread).account, "42");
}

}  // namespace
}  // namespace softphone
