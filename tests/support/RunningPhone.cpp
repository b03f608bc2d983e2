#include "tests/support/RunningPhone.h"

#include <QDir>
#include <QFile>

#include "tests/support/Wait.h"

namespace softphone::test {

RunningPhone::RunningPhone(const XvfbDisplay& display, const QString& binary, const QString& home,
                           const QString& runtime, const QString& pulseServer)
    : display_(display) {
    QProcessEnvironment env = display.Environment();
    env.insert("HOME", home);
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("XDG_DATA_HOME", home + "/data");
    env.insert("XDG_CACHE_HOME", home + "/cache");
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("PULSE_SERVER", pulseServer);
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setProcessEnvironment(env);
    start(binary, {});
    waitForStarted(5000);
}

QString RunningPhone::LoginDialog() const {
    QString login;
    WaitUntil([&] { return !(login = display_.Window("Please Enter Your Pin")).isEmpty(); }, 20000);
    return login;
}

QString RunningPhone::LogIn(const QString& server, const QString& account,
                            const QString& password) {
    const QString login = LoginDialog();
    if (login.isEmpty()) return QString();
    display_.ClickAndType(login, kSipBox.x(), kSipBox.y(), server);
    display_.ClickAndType(login, kAccountBox.x(), kAccountBox.y(), account);
    display_.ClickAndType(login, kPasswordBox.x(), kPasswordBox.y(), password);
    display_.Click(login, kLogin.x(), kLogin.y());
    // Message boxes share the title "Softphone"; the handset is wider.
    QString handset;
    WaitUntil([&] { return !(handset = display_.Window("Softphone", 281)).isEmpty(); }, 15000);
    return handset;
}

}  // namespace softphone::test
