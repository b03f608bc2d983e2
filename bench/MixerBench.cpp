// Prints: how many mixer writes per second a slider drag sustains (one write per mouse move),
// and the time from a slider move to the new level being seen by a second client of the
// PulseAudio server. Runs against a private PulseAudio null sink through alsa-lib's "default".
#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QSlider>
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
    void show(QWidget*, const QString& text, const QString&, MessageIcon) override {
        std::printf("message box: %s\n", qPrintable(text));
    }
};

double percentile(std::vector<double> values, double p) {
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
    if (!server.running()) {
        std::printf("PulseAudio did not start\n");
        return 1;
    }
    server.useInThisProcess();

    SilentBox messages;
    MixerLevels levels(createAlsaMixer(), messages);
    MixerLevels observer(createAlsaMixer(), messages);  // another client of the same server
    QFrame panel;
    VolumeSliders sliders(&panel, levels);
    QSlider* slider = sliders.speakerSlider;

    // A drag that sweeps the playback thumb across the track again and again.
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kDragMoves; ++i) slider->setValue((i % 60) * 1000 + (i / 60) % 2);
    const double dragSeconds = clock.nsecsElapsed() / 1e9;
    std::printf("slider drag: %d moves in %.3f s = %.0f mixer writes/s (%.3f ms each)\n",
                kDragMoves, dragSeconds, kDragMoves / dragSeconds, dragSeconds * 1e3 / kDragMoves);

    // One move, then poll the other client until it reads the new level.
    std::vector<double> latencies;
    int missed = 0;
    for (int i = 0; i < kLatencySamples; ++i) {
        slider->setValue(0);
        const int before = observer.level(MixerLine::Speaker);
        clock.restart();
        slider->setValue(4000 + (i * 6007) % 60000);
        int seen = before;
        while (seen == before && clock.nsecsElapsed() < kReadBackTimeoutNs) {
            seen = observer.level(MixerLine::Speaker);
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
        percentile(latencies, 0.5), percentile(latencies, 0.95), percentile(latencies, 1.0),
        latencies.size(), missed);
    return 0;
}
