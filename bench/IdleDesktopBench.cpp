// Prints the CPU the real program uses while it sits idle and registered on an X display (Xvfb)
// with a sound server (PulseAudio), its number field focused as after a click, and the work it
// causes in the sound server: the server's CPU with the program less the server's CPU alone.
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
using softphone::bench::CpuSecondsOf;

namespace {

// Percent of one core that the processes used over `seconds` of the event loop.
QList<double> CpuPercent(const QList<qint64>& pids, int seconds) {
    QList<double> before;
    for (qint64 pid : pids) before << CpuSecondsOf(pid);
    QElapsedTimer clock;
    clock.start();
    Pump(seconds * 1000);
    QList<double> percent;
    for (int i = 0; i < pids.size(); ++i)
        percent << 100.0 * (CpuSecondsOf(pids[i]) - before[i]) / (clock.elapsed() / 1000.0);
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
    if (!display.Started() || !pulse.Running() || !server.Start()) {
        std::fprintf(stderr, "Xvfb, PulseAudio or kamailio did not start\n");
        return 1;
    }
    const double pulseAlone = CpuPercent({pulse.ProcessId()}, measureSeconds)[0];

    QTemporaryDir home;
    RunningPhone phone(
        display, argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral(SOFTPHONE_BINARY),
        home.path(), home.filePath("run"), pulse.Address());
    const QString handset = phone.LogIn(server.Address());
    if (handset.isEmpty() || !WaitUntil([&] { return server.Contacts("1001") == 1; }, 10000)) {
        std::fprintf(stderr, "the program did not register\n");
        return 1;
    }
    display.Click(handset, kNumberField);
    Pump(settleSeconds * 1000);
    const QList<double> withPhone =
        CpuPercent({phone.processId(), pulse.ProcessId()}, measureSeconds);

    std::printf("idle and registered on Xvfb, %d s after login, over %d s:\n", settleSeconds,
                measureSeconds);
    std::printf("  program: %.3f %% of one core\n", withPhone[0]);
    std::printf("  PulseAudio: %.3f %% with the program, %.3f %% alone: %.3f %% for the program\n",
                withPhone[1], pulseAlone, withPhone[1] - pulseAlone);
    phone.terminate();
    phone.Ended();
    return 0;
}
