#include "tests/support/RunningPhone.h"

#include "tests/support/Wait.h"

namespace softphone::test {

RunningPhone::RunningPhone(const XvfbDisplay& display, QString binary)
    : display_(display), binary_(std::move(binary)) {
    QProcessEnvironment env = display.Environment();
    for (const char* folder : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        env.insert(folder, home.filePath(folder));
    process.setProcessEnvironment(env);
}

RunningPhone::~RunningPhone() {
    if (process.state() == QProcess::NotRunning) return;
    process.kill();
    process.waitForFinished(3000);
}

QString RunningPhone::Start() {
    process.start(binary_);
    if (!process.waitForStarted(5000)) return QString();
    // A machine without a sound card first says so in a small box: the person presses Return.
    QString login;
    WaitUntil(
        [&] {
            if (QString box = display_.Window("Softphone", 1, 280); !box.isEmpty())
                display_.Xdo({"windowfocus", "--sync", box, "key", "Return"});
            login = display_.Window("Please Enter Your Pin");
            return !login.isEmpty();
        },
        15000);
    return login;
}

QString RunningPhone::LogIn(const QString& server, const QString& account,
                            const QString& password) {
    const QString login = Start();
    if (login.isEmpty()) return QString();
    display_.ClickAndType(login, kSipBox.x(), kSipBox.y(), server);
    display_.ClickAndType(login, kAccountBox.x(), kAccountBox.y(), account);
    display_.ClickAndType(login, kPasswordBox.x(), kPasswordBox.y(), password);
    display_.Click(login, kLogin.x(), kLogin.y());
    QString handset;
    WaitUntil([&] { return !(handset = display_.Window("Softphone", 281)).isEmpty(); }, 10000);
    return handset;
}

bool RunningPhone::Ended() {
    return WaitUntil([&] { return process.state() == QProcess::NotRunning; }, 10000);
}

}  // namespace softphone::test
