// Prints: key-tone latency (the write to the first sound in the sink's monitor) at the dialling
// pace while the calling thread sleeps, and the player's CPU while idle, with and without
// suspending the stream. Plays into a private PulseAudio null sink.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "dialer/KeyTable.h"
#include "dialer/SoundPlayer.h"
#include "tests/support/PulseServer.h"
#include "tests/support/ToneListener.h"

using namespace softphone;
using namespace softphone::test;

namespace {

constexpr int kPaceMs = 100;
constexpr int kIdleSeconds = 20;

double cpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 +
           usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
}

// Watches the recording grow while the calling thread sleeps, to tell when each sample arrived.
class RecordingWatch {
public:
    RecordingWatch(const MonitorRecorder& recorder, const QElapsedTimer& clock)
        : recorder_(recorder), clock_(clock) {}

    // Sleeps like a blocked UI thread, looking at the recording every millisecond meanwhile.
    void sleepMs(int ms) {
        const qint64 until = clock_.elapsed() + ms;
        while (clock_.elapsed() < until) {
            seen_.push_back({double(clock_.nsecsElapsed()) / 1e6, recorder_.size()});
            QThread::msleep(1);
        }
    }
    // When the recording was first seen to hold `sample`; -1 if never.
    double arrivalMs(qsizetype sample) const {
        for (const Seen& s : seen_)
            if (s.size > sample) return s.ms;
        return -1;
    }

private:
    struct Seen {
        double ms;
        qsizetype size;
    };
    const MonitorRecorder& recorder_;
    const QElapsedTimer& clock_;
    std::vector<Seen> seen_;
};

void printLatency(const char* label, SoundPlayer& player, const MonitorRecorder& recorder) {
    QElapsedTimer clock;
    clock.start();
    RecordingWatch recording(recorder, clock);
    const qsizetype from = recorder.size();
    recording.sleepMs(200);
    std::vector<double> written;
    for (const DialKey& key : kKeyTable) {
        written.push_back(double(clock.nsecsElapsed()) / 1e6);
        player.playTone(key.toneName);
        recording.sleepMs(kPaceMs);
    }
    recording.sleepMs(400);
    const QByteArray heard = recorder.samples(from);
    const auto tones = hearTones(heard);
    std::printf("%s: heard \"%s\"\n", label, qPrintable(keysOf(tones)));
    std::vector<double> late;
    for (const HeardTone& tone : tones) {
        const DialKey* key = keyForCharacter(QLatin1Char(tone.key));
        // A stretch starts in the silent lead-in, a little before the tone itself.
        const qsizetype onset = firstSound(heard, tone.start);
        if (!key || onset < 0) continue;
        late.push_back(recording.arrivalMs(from + onset) - written[size_t(key - kKeyTable.data())]);
    }
    if (late.empty()) return;
    const double first = late.front();
    std::sort(late.begin(), late.end());
    std::printf(
        "  write to the tone's first sample arriving from the monitor (includes the 20 ms lead-in "
        "and the recorder's 10 ms): min %.1f, median %.1f, max %.1f ms "
        "over %zu tones; first tone %.1f ms\n",
        late.front(), late[late.size() / 2], late.back(), late.size(), first);
}

double idleCpuPercent(int seconds) {
    const double before = cpuMs();
    QThread::sleep(seconds);
    return (cpuMs() - before) / (seconds * 10.0);
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    QCoreApplication app(argc, argv);

    PulseServer server;
    MonitorRecorder recorder(server);
    if (!server.running() || !recorder.running()) {
        std::fprintf(stderr, "PulseAudio or parec did not start\n");
        return 1;
    }
    server.useInThisProcess();
    QThread::msleep(2100);

    std::printf("Sound player, %d ms pace, calling thread asleep between tones\n", kPaceMs);
    {
        const double idleBaseline = idleCpuPercent(5);
        std::printf("process without a player, idle: %.2f %% of a core\n", idleBaseline);
    }
    {
        SoundPlayer player(-1);
        QThread::msleep(500);
        printLatency("stream kept running", player, recorder);
        std::printf("  idle %d s after the tones: %.2f %% of a core\n", kIdleSeconds,
                    idleCpuPercent(kIdleSeconds));
    }
    {
        SoundPlayer player;
        QThread::msleep(SoundPlayer::kDefaultSuspendAfterMs + 1000);
        printLatency("stream resumed from suspension", player, recorder);
        std::printf("  idle %d s after the tones (suspends after %d ms): %.2f %% of a core\n",
                    kIdleSeconds, SoundPlayer::kDefaultSuspendAfterMs,
                    idleCpuPercent(kIdleSeconds));
        std::printf("  idle %d s while suspended: %.2f %% of a core\n", kIdleSeconds,
                    idleCpuPercent(kIdleSeconds));
    }
    return 0;
}
