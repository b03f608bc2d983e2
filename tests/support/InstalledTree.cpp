#include "tests/support/InstalledTree.h"

#include <signal.h>
#include <sys/prctl.h>

#include <QDir>
#include <QPoint>

#include "tests/support/Wait.h"
#include "tests/support/XvfbDisplay.h"

namespace softphone::test {
namespace {

// Centres of the login dialog's controls, in pixels from its corner.
constexpr QPoint kSipBox{148, 41}, kAccountBox{148, 65}, kPasswordBox{148, 89}, kLogin{66, 154};
constexpr int kHandsetMinWidth = 281;  // message boxes share the title "Softphone"

}  // namespace

InstalledTree::InstalledTree() {
    QProcess cmake;
    cmake.setProcessChannelMode(QProcess::MergedChannels);
    cmake.start(QStringLiteral("cmake"), {"--install", SOFTPHONE_BUILD_DIR, "--prefix", Path("")});
    installed_ = cmake.waitForFinished(60000) && cmake.exitStatus() == QProcess::NormalExit &&
                 cmake.exitCode() == 0;
    log_ = QString::fromUtf8(cmake.readAll());
}

QString InstalledTree::Path(const QString& relative) const {
    return QDir::cleanPath(dir_.filePath(QStringLiteral("prefix/") + relative));
}

QProcessEnvironment UserEnvironment(const XvfbDisplay& display, const QString& home,
                                    const QString& runtime, const QString& pulseServer) {
    QProcessEnvironment env = display.Environment();
    env.insert("HOME", home);
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("XDG_DATA_HOME", home + "/data");
    env.insert("XDG_CACHE_HOME", home + "/cache");
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("PULSE_SERVER", pulseServer);
    // The tray and the desktop's services are looked for on this display only.
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return env;
}

ProgramRun::ProgramRun(const QString& program, const QProcessEnvironment& env) {
    setProcessEnvironment(env);
    setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    start(program, {});
    waitForStarted(5000);
}

ProgramRun::~ProgramRun() {
    if (state() == QProcess::NotRunning) return;
    terminate();
    if (!waitForFinished(5000)) {
        kill();
        waitForFinished(3000);
    }
}

QString LogIn(const XvfbDisplay& display, const QString& server) {
    QString login;
    if (!WaitUntil([&] { return !(login = display.Window("Please Enter Your Pin")).isEmpty(); },
                   20000))
        return QString();
    display.ClickAndType(login, kSipBox.x(), kSipBox.y(), server);
    display.ClickAndType(login, kAccountBox.x(), kAccountBox.y(), "1001");
    display.ClickAndType(login, kPasswordBox.x(), kPasswordBox.y(), "secret");
    display.Click(login, kLogin.x(), kLogin.y());
    QString handset;
    WaitUntil([&] { return !(handset = display.Window("Softphone", kHandsetMinWidth)).isEmpty(); },
              15000);
    return handset;
}

}  // namespace softphone::test
