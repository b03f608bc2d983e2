// Where the program keeps its files, and one program per user: later starts are turned away and
// wake the first, handing it their link; a socket left by a killed run does not count as a
// running program.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "dialer/LinkInbox.h"
#include "records/DataFile.h"
#include "records/SettingsStore.h"
#include "support/SingleInstance.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

// A later start's link waits until the handset opens the inbox after the login; of several, the
// last one; then each comes at once.
TEST(SingleInstance, OnlyTheFirstStartRunsAndEachLaterOneWakesItWithItsLink) {
    QTemporaryDir dir;
    const QString path = dir.filePath("softphone.socket");
    // Something left at the path by a killed run: nobody answers there.
    QFile leftOver(path);
    ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
    {
        SingleInstance first(path);
        LinkInbox inbox;
        QSignalSpy wakes(&first, &SingleInstance::anotherStart);
        QStringList shown;
        QObject::connect(&first, &SingleInstance::linkOpened, &inbox, &LinkInbox::receive);
        QObject::connect(&inbox, &LinkInbox::linkArrived, [&](const QString& l) { shown << l; });
        ASSERT_TRUE(first.claim());
        const QString links[] = {"", "tel:+44%2020%207946%200958", "sip:6000@127.0.0.1", "tel:1"};
        for (int start = 1; start <= 4; ++start) {
            if (start == 4) inbox.open();
            SingleInstance later(path);
            EXPECT_FALSE(later.claim(links[start - 1])) << "start " << start;
            EXPECT_TRUE(waitUntil([&] { return wakes.count() == start; }, 3000))
                << "start " << start;
        }
        EXPECT_TRUE(waitUntil([&] { return shown.size() == 2; }, 3000));
        EXPECT_EQ(shown, QStringList({"sip:6000@127.0.0.1", "tel:1"}));
    }
    SingleInstance afterTheFirstEnded(path);
    EXPECT_TRUE(afterTheFirstEnded.claim());
}

// An empty or relative XDG variable is ignored, as the XDG base directory rules say; a runtime
// folder that does not exist is too.
TEST(UserFolders, EmptyOrRelativeXdgVariablesFallBack) {
    const QTemporaryDir absolute;
    const QString at = absolute.path(), home = QDir::homePath();
    const QString socket = QDir::temp().filePath(QString("softphone-%1.socket").arg(::getuid()));
    // The path `path` gives with `variable` set to `value`.
    const auto with = [](const char* variable, const QString& value, QString (*path)()) {
        const QByteArray saved = qgetenv(variable);
        qputenv(variable, value.toUtf8());
        const QString result = path();
        qputenv(variable, saved);
        return result;
    };
    const auto settings = IniSettingsStore::defaultPath;
    EXPECT_EQ(with("XDG_CONFIG_HOME", at, settings), at + "/Softphone/Softphone.conf");
    EXPECT_EQ(with("XDG_CONFIG_HOME", "cfg", settings), home + "/.config/Softphone/Softphone.conf");
    EXPECT_EQ(with("XDG_DATA_HOME", "", phoneBookPath),
              home + "/.local/share/Softphone/PhoneBook.txt");
    EXPECT_EQ(with("XDG_RUNTIME_DIR", at, instanceSocketPath), at + "/softphone.socket");
    EXPECT_EQ(with("XDG_RUNTIME_DIR", "run", instanceSocketPath), socket);
    EXPECT_EQ(with("XDG_RUNTIME_DIR", at + "/missing", instanceSocketPath), socket);
}

}  // namespace
}  // namespace softphone::test
