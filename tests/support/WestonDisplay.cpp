#include "tests/support/WestonDisplay.h"

#include <QDir>
#include <QFile>

#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

const QString kSocket = QStringLiteral("softphone-test");

}  // namespace

WestonDisplay::WestonDisplay() {
    QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    weston_.setProcessEnvironment(Environment());
    // --debug lets any client take screenshots.
    weston_.start(
        QStringLiteral("setpriv"),
        {"--pdeathsig", "KILL", "weston", "--backend=headless-backend.so", "--use-pixman",
         "--socket=" + kSocket, "--width=520", "--height=560", "--idle-time=0", "--debug"});
    started_ = weston_.waitForStarted(5000) &&
               WaitUntil([this] { return QFile::exists(runtime_.filePath(kSocket)); }, 10000);
}

WestonDisplay::~WestonDisplay() {
    weston_.terminate();
    if (!weston_.waitForFinished(3000)) weston_.kill();
}

QProcessEnvironment WestonDisplay::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), kSocket);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    env.remove(QStringLiteral("DISPLAY"));
    return env;
}

QImage WestonDisplay::Screenshot() const {
    QTemporaryDir folder;
    QProcess shooter;
    shooter.setProcessEnvironment(Environment());
    shooter.setWorkingDirectory(folder.path());
    shooter.start(QStringLiteral("weston-screenshooter"), QStringList());
    if (!shooter.waitForFinished(10000)) {
        shooter.kill();
        shooter.waitForFinished(1000);
        return {};
    }
    const QStringList shots = QDir(folder.path()).entryList({"*.png"}, QDir::Files);
    return shots.isEmpty() ? QImage() : QImage(folder.filePath(shots.first()));
}

}  // namespace softphone::test
