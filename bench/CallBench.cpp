// Prints: Dial click to INVITE at the far end (less the 100 ms tone pacing per digit), 200 OK
// sent by the far end to "CONNECTED" on the status line, CPU and resident memory during a
// connected call; in a second call, Mute to silence in the audio the far end receives and Hold
// and resume to the far end's 200 OK of the re-INVITE. Real engine, kamailio and sipp far ends
// (one echoes the audio, one takes re-INVITEs); the microphone hears a 440 Hz tone. (PulseAudio's
// module-sine-source hands its audio over in 2 s blocks, which would bound the Mute figure.)

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QtEndian>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "bench/ProcessFigures.h"
#include "bench/SippTrace.h"
#include "tests/support/Phone.h"
#include "tests/support/PulseServer.h"
#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"

using namespace softphone;
using namespace softphone::test;
using softphone::bench::cpuSeconds;
using softphone::bench::residentMb;
using softphone::bench::traceTimeMs;

namespace {

double nowMs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count() / 1000.0;
}

// Polls more finely than WaitUntil, for timing: the time (ms) at which `done` first held.
double whenTrue(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents();
        if (done()) return nowMs();
        QThread::usleep(200);
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int callSeconds = argc > 1 ? atoi(argv[1]) : 30;
    const QString number = QStringLiteral("5550001111");  // ten digits: no challenge to answer
    const QString holding = QStringLiteral("5550002222");

    // The microphone: a 440 Hz tone played into a sink whose monitor is remapped into a source
    // (the engine lists no monitors), which hands audio over as finely as the engine asks.
    PulseServer sound({"bench_sink", "bench_tone"},
                      "module-remap-source master=bench_tone.monitor");
    sound.useInThisProcess();
    QByteArray sine(2 * 8000 * 120, 0);  // two minutes, 16-bit at 8 kHz
    for (int i = 0; i < sine.size() / 2; ++i)
        qToLittleEndian<qint16>(qint16(16000 * std::sin(2 * std::numbers::pi * 440 * i / 8000)),
                                sine.data() + 2 * i);
    QProcess player;
    player.setProcessEnvironment(sound.environment());
    player.start("pacat",
                 {"--raw", "--format=s16le", "--rate=8000", "--channels=1", "--device=bench_tone"});
    if (!player.waitForStarted()) return 1;
    player.write(sine);
    Sipp farEnd, holdingEnd;
    RtpListener heard;
    if (!farEnd.answerAndEcho() ||
        !holdingEnd.run("answer-hold.xml", {"-key", "rtpport", QString::number(heard.port())}))
        return 1;
    SipServer server({{"1001", "secret"}}, {{number, farEnd.uri()}, {holding, holdingEnd.uri()}});
    if (!server.start()) return 1;
    Phone phone;
    phone.start({server.address(), "1001", "secret"});
    if (!waitUntil([&] { return phone.registered(); }, 10000)) return 1;

    pump(2500);

    phone.setNumber(number);
    const double clicked = nowMs();
    phone.click("dialButton");
    const double connected = whenTrue([&] { return phone.status() == "CONNECTED"; }, 15000);
    if (connected < 0) {
        std::fprintf(stderr, "not connected: %s\n", qPrintable(phone.status()));
        return 1;
    }
    const QString trace = farEnd.trace();
    const double invite = traceTimeMs(trace, QStringLiteral("INVITE sip:"));
    const double ok = traceTimeMs(trace, QStringLiteral("SIP/2.0 200 OK"));
    const double pacing = 100.0 * number.size();

    pump(2000);
    const double cpuBefore = cpuSeconds();
    QElapsedTimer call;
    call.start();
    // The event loop itself, not a polling wait, so that only the program's own work counts.
    QTimer::singleShot(callSeconds * 1000, &app, &QApplication::quit);
    QApplication::exec();
    const double callCpu = 100.0 * (cpuSeconds() - cpuBefore) / (call.elapsed() / 1000.0);
    const double rss = residentMb();
    phone.click("endButton");
    waitUntil([&] { return phone.status() == "DISCONNECTED"; });

    // Mute and unmute, five times, to the tone gone from what the far end hears and back.
    phone.dial(holding);
    const auto tone = [&] { return heard.level(440) > 8; };
    if (!waitUntil([&] { return phone.connected() && tone(); }, 15000)) return 1;
    double muting = 0, unmuting = 0;
    for (int i = 0; i < 5; ++i) {
        const double pressed = nowMs();
        phone.trigger("muteAction");
        muting += whenTrue([&] { return heard.level(440) < 2; }, 5000) - pressed;
        const double unpressed = nowMs();
        phone.trigger("muteAction");
        unmuting += whenTrue(tone, 5000) - unpressed;
    }
    // Hold, then resume (the far end takes two re-INVITEs before the BYE).
    double holdMs[2];
    for (double& ms : holdMs) {
        const double pressed = nowMs();
        phone.trigger("holdAction");
        waitUntil([&] { return holdingEnd.trace().count("\nACK sip:") >= 2 + (&ms - holdMs); });
        ms = traceTimeMs(holdingEnd.trace(), QStringLiteral("SIP/2.0 200 OK"), pressed) - pressed;
    }
    phone.click("endButton");

    std::printf(
        "Dial click to INVITE at the far end: %.1f ms, less %.0f ms of tone pacing: %.1f ms\n",
        invite - clicked, pacing, invite - clicked - pacing);
    std::printf("200 OK sent by the far end to \"CONNECTED\" on the status line: %.1f ms\n",
                connected - ok);
    std::printf("CPU during a connected call over %d s: %.2f %% of one core\n", callSeconds,
                callCpu);
    std::printf("resident memory in the call: %.1f MB\n", rss);
    std::printf(
        "Mute to silence at the far end: %.1f ms, unmute to the tone: %.1f ms (means of 5)\n",
        muting / 5, unmuting / 5);
    std::printf("Hold to the re-INVITE's 200 OK: %.1f ms; resume: %.1f ms\n", holdMs[0], holdMs[1]);
    return 0;
}
