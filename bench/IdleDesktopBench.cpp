// Prints the CPU the real program uses while it sits idle and registered on an X display (Xvfb)
// with a sound server (PulseAudio), its number field focused as after a click, how often its
// main thread wakes, and the work it causes in the sound server: the server's CPU with the
// program less the server's CPU alone.
// Arguments: settle seconds after login (30), measured seconds (60), the program (the one built).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "bench/ProcessFigures.h"
#include "tests/support/PulseServer.h"
#include "tests/support/RunningPhone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Wait.h"

using namespace softphone::test;
using softphone::bench::cpuSecondsOf;
using softphone::bench::mainThreadWakeUps;

namespace {

// Percent of one core that the processes used over `seconds` of the event loop.
QList<double> cpuPercent(const QList<qint64>& pids, int seconds) {
    QList<double> before;
    for (qint64 pid : pids) before << cpuSecondsOf(pid);
    QElapsedTimer clock;
    clock.start();
    pump(seconds * 1000);
    QList<double> percent;
    for (int i = 0; i < pids.size(); ++i)
        percent << 100.0 * (cpuSecondsOf(pids[i]) - before[i]) / (clock.elapsed() / 1000.0);
    return percent;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int settleSeconds = argc > 1 ? atoi(argv[1]) : 30;
    const int measureSeconds = argc > 2 ? atoi(argv[2]) : 60;

    XvfbDisplay display;
    PulseServer pulse;
    SipServer server({{QStringLiteral("1001"), QStringLiteral("secret")}});
    if (!display.started() || !pulse.running() || !server.start()) {
        std::fprintf(stderr, "Xvfb, PulseAudio or kamailio did not start\n");
        return 1;
    }
    const double pulseAlone = cpuPercent({pulse.processId()}, measureSeconds)[0];

    QTemporaryDir home;
    RunningPhone phone(
        display, argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral(SOFTPHONE_BINARY),
        home.path(), home.filePath("run"), pulse.address());
    const QString handset = phone.logIn(server.address());
    if (handset.isEmpty() || !waitUntil([&] { return server.contacts("1001") == 1; }, 10000)) {
        std::fprintf(stderr, "the program did not register\n");
        return 1;
    }
    display.click(handset, kNumberField);
    pump(settleSeconds * 1000);
    const qint64 wakeUpsBefore = mainThreadWakeUps(phone.processId());
    const QList<double> withPhone =
        cpuPercent({phone.processId(), pulse.processId()}, measureSeconds);
    const double wakeUps =
        double(mainThreadWakeUps(phone.processId()) - wakeUpsBefore) / measureSeconds;

    std::printf("idle and registered on Xvfb, %d s after login, over %d s:\n", settleSeconds,
                measureSeconds);
    std::printf("  program: %.3f %% of one core, its main thread woken %.2f times a second\n",
                withPhone[0], wakeUps);
    std::printf("  PulseAudio: %.3f %% with the program, %.3f %% alone: %.3f %% for the program\n",
                withPhone[1], pulseAlone, withPhone[1] - pulseAlone);
    phone.terminate();
    phone.endsInOrder();
    return 0;
}
