// The tuning wizard's microphone level over a private PulseAudio server.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QMediaDevices>
#include <QtEndian>
#include <cmath>

#include "tests/support/Fakes.h"
#include "tests/support/PulseServer.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

// Two seconds of a loud 1 kHz tone, 16 kHz mono 16-bit.
QByteArray Tone() {
    QByteArray samples(2 * 16000 * 2, '\0');
    auto* out = reinterpret_cast<qint16*>(samples.data());
    for (int i = 0; i < 2 * 16000; ++i)
        out[i] = qToLittleEndian(qint16(20000 * std::sin(2 * 3.14159265 * 1000 * i / 16000.0)));
    return samples;
}

TEST(TuningWizardPulse, MicrophoneLevelFollowsTheCaptureSource) {
    PulseServer server;
    ASSERT_TRUE(server.Running());
    server.UseInThisProcess();

    // A microphone that hears what the sink plays (the desktop lists no monitor as an input).
    server.Pactl({"load-module", "module-remap-source", "master=" + server.MonitorName(),
                  "source_name=tone_microphone"});
    QString monitor;
    ASSERT_TRUE(WaitUntil([&] {
        for (const QAudioDevice& d : QMediaDevices::audioInputs())
            if (d.id() == "tone_microphone") monitor = d.description();
        return !monitor.isEmpty();
    }));
    FakeAudioTuning tuning;
    tuning.devices = {{"monitor", monitor, false, true}, {"out", "Out", true, false}};
    tuning.capture = "monitor";
    TuningWizard wizard(tuning, nullptr);
    ASSERT_EQ(wizard.captureBox->currentText(), monitor);

    Pump(500);
    EXPECT_LT(wizard.MicrophoneLevel(), 5);

    Child player("pacat", {"--raw", "--format=s16le", "--rate=16000", "--channels=1"},
                 server.Environment());
    player.write(Tone());
    player.closeWriteChannel();
    EXPECT_TRUE(WaitUntil([&] { return wizard.MicrophoneLevel() > 30; }, 4000))
        << wizard.MicrophoneLevel();
    player.waitForFinished(5000);
}

}  // namespace
}  // namespace softphone::test
