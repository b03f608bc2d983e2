// One program per user: later starts are turned away and wake the first; a socket left by a
// killed run does not count as a running program.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "support/SingleInstance.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

class SingleInstanceTest : public ::testing::Test {
  protected:
    // A socket file bound by a process that never listened or died: connecting is refused.
    void LeaveDeadSocket() {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        std::copy(name.begin(), name.end(), address.sun_path);
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
        ASSERT_TRUE(QFileInfo(path).exists());
    }

    QTemporaryDir dir;
    QString path = dir.filePath("softphone.socket");
};

TEST_F(SingleInstanceTest, LaterStartsAreTurnedAwayAndEachWakesTheFirst) {
    SingleInstance first(path);
    int wakes = 0;
    QObject::connect(&first, &SingleInstance::anotherStart, [&] { ++wakes; });
    ASSERT_TRUE(first.Claim());

    for (int start = 1; start <= 2; ++start) {
        SingleInstance later(path);
        EXPECT_FALSE(later.Claim()) << "start " << start;
        EXPECT_TRUE(WaitUntil([&] { return wakes == start; }, 3000)) << "start " << start;
    }
    Pump(100);
    EXPECT_EQ(wakes, 2);
}

TEST_F(SingleInstanceTest, SocketLeftByAKilledRunDoesNotBlockAStart) {
    LeaveDeadSocket();
    SingleInstance next(path);
    EXPECT_TRUE(next.Claim());
    // And it really answers: the start after it is turned away.
    SingleInstance later(path);
    EXPECT_FALSE(later.Claim());
}

TEST_F(SingleInstanceTest, ProgramThatEndedLeavesTheWayFree) {
    {
        SingleInstance first(path);
        ASSERT_TRUE(first.Claim());
    }
    SingleInstance next(path);
    EXPECT_TRUE(next.Claim());
}

TEST(InstanceSocketPath, InTheRuntimeFolderElseNamedForTheUserInTheTemporaryFolder) {
    QTemporaryDir runtime;
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const QString perUser = QDir::temp().filePath(QString("softphone-%1.socket").arg(::getuid()));
    struct Case {
        QString runtimeDir;
        QString expected;
    } cases[] = {
        {runtime.path(), runtime.filePath("softphone.socket")},
        {"", perUser},
        {"relative/run", perUser},
        {runtime.filePath("missing"), perUser},
    };
    for (const Case& c : cases) {
        qputenv("XDG_RUNTIME_DIR", c.runtimeDir.toUtf8());
        EXPECT_EQ(InstanceSocketPath(), c.expected) << c.runtimeDir.toStdString();
    }
    qputenv("XDG_RUNTIME_DIR", saved);
}

}  // namespace
}  // namespace softphone::test
