// One installed program per user on a private display: a second start brings the running window
// back out of the tray and ends without touching anything; after the first is killed, a new start
// works.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>

#include <QDir>
#include <QDirIterator>
#include <QPoint>
#include <QTemporaryDir>

#include "tests/support/InstalledTree.h"
#include "tests/support/PulseServer.h"
#include "tests/support/Wait.h"
#include "tests/support/XvfbDisplay.h"

namespace softphone::test {
namespace {

constexpr QPoint kHide{275, 28};  // the handset's "-" button

class SingleInstanceXvfbTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(tree.Installed()) << tree.Log().toStdString();
        ASSERT_TRUE(display.Started());
        ASSERT_TRUE(pulse.Running());
    }

    // Another user session's folders, sharing the runtime folder (and so the running program).
    QProcessEnvironment Session(const QString& name) {
        return UserEnvironment(display, user.filePath(name), user.filePath("run"), pulse.Address());
    }

    // Files a start has left under a session's home.
    QStringList FilesOf(const QString& name) {
        QStringList found;
        QDirIterator it(user.filePath(name), QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) found << it.next();
        return found;
    }

    bool HandsetVisible(const QString& id) {
        return display.Xdo({"search", "--onlyvisible", "--name", "^Softphone$"})
            .split('\n')
            .contains(id);
    }

    InstalledTree tree;
    XvfbDisplay display;
    PulseServer pulse;
    QTemporaryDir user;
};

TEST_F(SingleInstanceXvfbTest, SecondStartRaisesTheFirstFromTheTrayAndEnds) {
    QProcess trayer;
    trayer.setProcessEnvironment(display.Environment());
    trayer.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    trayer.start("trayer", {"--edge", "bottom", "--widthtype", "request", "--height", "32"});
    ASSERT_TRUE(WaitUntil(
        [&] {
            return !display.Xdo({"search", "--class", "trayer"}).isEmpty();
        },
        10000));

    ProgramRun first(tree.Path("bin/softphone"), Session("first"));
    const QString handset = LogIn(display, "127.0.0.1:9");
    ASSERT_FALSE(handset.isEmpty()) << first.readAllStandardError().toStdString();
    display.Click(handset, kHide.x(), kHide.y());
    ASSERT_TRUE(WaitUntil([&] { return !HandsetVisible(handset); }, 5000)) << "not in the tray";

    ProgramRun second(tree.Path("bin/softphone"), Session("second"));
    ASSERT_TRUE(second.waitForFinished(10000)) << "the second start kept running";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(WaitUntil([&] { return HandsetVisible(handset); }, 5000)) << "not raised";
    // It showed no login dialog, started no engine, wrote no settings or data.
    EXPECT_EQ(FilesOf("second"), QStringList());
    EXPECT_EQ(first.state(), QProcess::Running);
    trayer.kill();
    trayer.waitForFinished(3000);
}

TEST_F(SingleInstanceXvfbTest, StartAfterTheFirstWasKilledWorks) {
    {
        ProgramRun first(tree.Path("bin/softphone"), Session("first"));
        ASSERT_TRUE(
            WaitUntil([&] { return !display.Window("Please Enter Your Pin").isEmpty(); }, 20000));
        ::kill(pid_t(first.processId()), SIGKILL);
        ASSERT_TRUE(first.waitForFinished(5000));
    }
    ASSERT_TRUE(QFile::exists(user.filePath("run/softphone.socket"))) << "nothing left behind";
    ProgramRun next(tree.Path("bin/softphone"), Session("next"));
    EXPECT_FALSE(LogIn(display, "127.0.0.1:9").isEmpty()) << "a new start did not come up";
    EXPECT_EQ(next.state(), QProcess::Running);
}

}  // namespace
}  // namespace softphone::test
