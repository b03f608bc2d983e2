// Prints: how many mixer writes per second a slider drag sustains (one write per mouse move),
// and the time from a slider move to the new level being seen by a second client of the
// PulseAudio server. Runs against a private PulseAudio null sink through alsa-lib's "default".
#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "dialer/VolumeSliders.h"
#include "support/MessageBox.h"
#include "support/MixerLevels.h"
#include "tests/support/PulseServer.h"

using namespace softphone;
using namespace softphone::test;

namespace {

constexpr int kDragMoves = 3000;
constexpr int kLatencySamples = 100;
constexpr qint64 kReadBackTimeoutNs = 1'000'000'000;

class SilentBox : public IMessageBox {
public:
    void Show(QWidget*, const QString& text, const QString&, MessageIcon) override {
        std::printf("message box: %s\n", qPrintable(text));
    }
};

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * (values.size() - 1) + 0.5))];
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    QApplication app(argc, argv);

    PulseServer server;
    if (!server.Running()) {
        std::printf("PulseAudio did not start\n");
        return 1;
    }
    server.UseInThisProcess();

    SilentBox messages;
    MixerLevels volume(CreateAlsaMixer(), messages);
    MixerLevels observer(CreateAlsaMixer(), messages);  // another client of the same server
    QFrame frame;
    VolumeSliders sliders(&frame, volume, nullptr);

    // A drag that sweeps the playback thumb to and fro across the whole track.
    sliders.OnTrackMousePress(0, VolumeSliders::kLeftButton, 0);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kDragMoves; ++i)
        sliders.OnTrackMouseMove(0, VolumeSliders::kLeftButton, (i / 30) % 2 ? -50.0f : 50.0f);
    const double dragSeconds = clock.nsecsElapsed() / 1e9;
    std::printf("slider drag: %d moves in %.3f s = %.0f mixer writes/s (%.3f ms each)\n",
                kDragMoves, dragSeconds, kDragMoves / dragSeconds, dragSeconds * 1e3 / kDragMoves);

    // One move, then poll the other client until it reads the new level.
    std::vector<double> latencies;
    int missed = 0;
    for (int i = 0; i < kLatencySamples; ++i) {
        const float target = float(100 + (i * 137) % 1300);
        sliders.OnTrackMousePress(0, VolumeSliders::kLeftButton, 0);
        sliders.OnTrackMouseMove(0, VolumeSliders::kLeftButton, -3000);
        const int before = observer.WaveVolume();
        clock.restart();
        sliders.OnTrackMousePress(0, VolumeSliders::kLeftButton, 0);
        sliders.OnTrackMouseMove(0, VolumeSliders::kLeftButton, target + 5);
        int seen = before;
        while (seen == before && clock.nsecsElapsed() < kReadBackTimeoutNs) {
            seen = observer.WaveVolume();
            if (seen == before) QThread::usleep(50);
        }
        if (seen == before)
            ++missed;
        else
            latencies.push_back(clock.nsecsElapsed() / 1e6);
    }
    if (latencies.empty()) {
        std::printf("move to read-back: never seen within 1 s (%d tries)\n", missed);
        return 1;
    }
    std::printf(
        "move to read-back by another client: median %.2f ms, p95 %.2f ms, max %.2f ms "
        "(%zu samples, %d not seen within 1 s)\n",
        Percentile(latencies, 0.5), Percentile(latencies, 0.95), Percentile(latencies, 1.0),
        latencies.size(), missed);
    return 0;
}
