// Prints: process start to login dialog shown, LOGIN to "Registered and Ready...", CPU while
// idle and registered, resident memory. Runs the real engine against a local kamailio.
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/EngineWarmUp.h"
#include "app/HandsetWindow.h"
#include "app/LinphoneEngine.h"
#include "bench/ProcessFigures.h"
#include "records/LoginDialog.h"
#include "records/SettingsStore.h"
#include "tests/support/Fakes.h"
#include "tests/support/SipServer.h"
#include "tests/support/Wait.h"

using namespace softphone;
using namespace softphone::test;
using softphone::bench::cpuSeconds;
using softphone::bench::residentMb;

namespace {

// Milliseconds since this process was started, from the kernel's own record.
double msSinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly)) return -1;
    const QByteArray s = stat.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();  // field 22 of the whole line
    const double up = uptime.readAll().split(' ').value(0).toDouble();
    return (up - startTicks / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

// Shows the real login dialog; when it is on screen, notes the time and logs in.
class TimedLogin : public IModalWindows {
public:
    TimedLogin(ISettingsStore& store, IMessageBox& messages, QString server)
        : store_(store), messages_(messages), server_(std::move(server)) {}
    LoginOutcome showLogin(QWidget* owner) override {
        LoginDialog dialog(store_, messages_, owner);
        QTimer::singleShot(0, &dialog, [&] { shownMs = msSinceProcessStart(); });
        // A person takes a while to type the login.
        QTimer::singleShot(1000, &dialog, [&] {
            dialog.sipBox->setText(server_);
            dialog.accountBox->setText(QStringLiteral("1001"));
            dialog.passwordBox->setText(QStringLiteral("secret"));
            loginClock.start();
            dialog.loginButton->click();
        });
        return dialog.exec() == QDialog::Accepted ? LoginOutcome::LoggedIn : LoginOutcome::Closed;
    }
    std::optional<QString> showPhoneBook(QWidget*) override { return std::nullopt; }
    std::optional<QString> showRecentCalls(QWidget*) override { return std::nullopt; }
    std::optional<NetworkSettings> showNetwork(QWidget*, const NetworkSettings&) override {
        return std::nullopt;
    }
    bool showTuningWizard(QWidget*) override { return false; }
    double shownMs = -1;
    QElapsedTimer loginClock;

private:
    ISettingsStore& store_;
    IMessageBox& messages_;
    QString server_;
};

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    QApplication app(argc, argv);
    const int idleSeconds = argc > 1 ? atoi(argv[1]) : 30;

    SipServer server({{QStringLiteral("1001"), QStringLiteral("secret")}});
    if (!server.start()) {
        std::fprintf(stderr, "kamailio did not start\n");
        return 1;
    }
    IniSettingsStore store;
    RecordingMessageBox messages;
    TimedLogin windows(store, messages, server.address());
    RecordingSoundPlayer player;
    PhoneController phone(
        {player, warmedUpEngine(std::make_unique<LinphoneEngine>(home.path() + "/engine"))});
    HandsetWindow window(phone, {messages, windows, store, player, player,
                                 std::make_unique<FakeMixer>(), std::make_unique<FakeTray>()});
    window.start();
    window.show();
    const bool registered =
        waitUntil([&] { return phone.registration() == RegistrationState::Registered; }, 10000);
    const qint64 registerMs = windows.loginClock.elapsed();
    if (!registered) {
        std::fprintf(stderr, "not registered\n");
        return 1;
    }
    pump(3000);  // let the busy spell after registration end
    const double cpuBefore = cpuSeconds();
    QElapsedTimer idle;
    idle.start();
    QTimer::singleShot(idleSeconds * 1000, &app, &QApplication::quit);
    QApplication::exec();
    const double idlePercent = 100.0 * (cpuSeconds() - cpuBefore) / (idle.elapsed() / 1000.0);

    std::printf("process start to login dialog shown: %.0f ms\n", windows.shownMs);
    std::printf(
        "LOGIN to \"Registered and Ready...\": %lld ms (LOGIN click, one digest challenge)\n",
        static_cast<long long>(registerMs));
    std::printf("CPU while idle and registered over %d s: %.2f %% of one core\n", idleSeconds,
                idlePercent);
    std::printf("resident memory: %.1f MB\n", residentMb());
    window.close();
    return 0;
}
