// Where the program keeps its files, and one program per user: later starts are turned away and
// wake the first, handing it their link; a socket left by a killed run does not count as a
// running program.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
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
        int wakes = 0;
        QStringList shown;
        QObject::connect(&first, &SingleInstance::anotherStart, [&] { ++wakes; });
        QObject::connect(&first, &SingleInstance::linkOpened, &inbox, &LinkInbox::receive);
        QObject::connect(&inbox, &LinkInbox::linkArrived, [&](const QString& l) { shown << l; });
        ASSERT_TRUE(first.claim());
        const QString links[] = {"", "tel:+44%2020%207946%200958", "sip:6000@127.0.0.1", "tel:1"};
        for (int start = 1; start <= 4; ++start) {
            if (start == 4) inbox.open();
            SingleInstance later(path);
            EXPECT_FALSE(later.claim(links[start - 1])) << "start " << start;
            EXPECT_TRUE(waitUntil([&] { return wakes == start; }, 3000)) << "start " << start;
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
    const auto settings = IniSettingsStore::defaultPath;
    const struct {
        const char* variable;
        QString (*path)();
        QString value, expected;
    } cases[] = {
        {"XDG_CONFIG_HOME", settings, at, at + "/Softphone/Softphone.conf"},
        {"XDG_CONFIG_HOME", settings, "cfg", home + "/.config/Softphone/Softphone.conf"},
        {"XDG_DATA_HOME", phoneBookPath, "", home + "/.local/share/Softphone/PhoneBook.txt"},
        {"XDG_RUNTIME_DIR", instanceSocketPath, at, at + "/softphone.socket"},
        {"XDG_RUNTIME_DIR", instanceSocketPath, "run", socket},
        {"XDG_RUNTIME_DIR", instanceSocketPath, at + "/missing", socket},
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
