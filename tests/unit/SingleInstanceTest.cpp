// Where the program keeps its files, and one program per user: later starts are turned away and
// wake the first; a socket left by a killed run does not count as a running program.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "records/DataFile.h"
#include "records/SettingsStore.h"
#include "support/SingleInstance.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

TEST(SingleInstance, OnlyTheFirstStartRunsAndEachLaterOneWakesIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath("softphone.socket");
    // A socket file bound by a process that died before it listened: connecting is refused.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::copy(name.begin(), name.end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo(path).exists());
    {
        SingleInstance first(path);
        int wakes = 0;
        QObject::connect(&first, &SingleInstance::anotherStart, [&] { ++wakes; });
        ASSERT_TRUE(first.Claim()) << "the dead socket blocks the start";
        for (int start = 1; start <= 2; ++start) {
            SingleInstance later(path);
            EXPECT_FALSE(later.Claim()) << "start " << start;
            EXPECT_TRUE(WaitUntil([&] { return wakes == start; }, 3000)) << "start " << start;
        }
    }
    SingleInstance afterTheFirstEnded(path);
    EXPECT_TRUE(afterTheFirstEnded.Claim());
}

// An empty or relative XDG variable is ignored, as the XDG base directory rules say; a runtime
// folder that does not exist is too.
TEST(UserFolders, EmptyOrRelativeXdgVariablesFallBack) {
    const QTemporaryDir absolute;
    const QString at = absolute.path();
    const QString settings = QDir::homePath() + "/.config/Softphone/Softphone.conf";
    const QString data = QDir::homePath() + "/.local/share/Softphone/";
    const QString socket = QDir::temp().filePath(QString("softphone-%1.socket").arg(::getuid()));
    const auto settingsPath = IniSettingsStore::DefaultPath;
    const struct {
        const char* variable;
        QString value;
        QString (*path)();
        QString expected;
    } cases[] = {
        {"XDG_CONFIG_HOME", at, settingsPath, at + "/Softphone/Softphone.conf"},
        {"XDG_CONFIG_HOME", "", settingsPath, settings},
        {"XDG_CONFIG_HOME", "cfg", settingsPath, settings},
        {"XDG_DATA_HOME", at, PhoneBookPath, at + "/Softphone/PhoneBook.txt"},
        {"XDG_DATA_HOME", "", PhoneBookPath, data + "PhoneBook.txt"},
        {"XDG_DATA_HOME", "./data", RecentCallsPath, data + "recentcall.txt"},
        {"XDG_RUNTIME_DIR", at, InstanceSocketPath, at + "/softphone.socket"},
        {"XDG_RUNTIME_DIR", "", InstanceSocketPath, socket},
        {"XDG_RUNTIME_DIR", "run", InstanceSocketPath, socket},
        {"XDG_RUNTIME_DIR", at + "/missing", InstanceSocketPath, socket},
    };
    for (const auto& c : cases) {
        const QByteArray saved = qgetenv(c.variable);
        qputenv(c.variable, c.value.toUtf8());
        EXPECT_EQ(c.path(), c.expected) << c.variable << "=" << c.value.toStdString();
        qputenv(c.variable, saved);
    }
}

}  // namespace
}  // namespace softphone::test
