// The sound devices on a private PulseAudio server: the level sliders through alsa-lib's pulse
// plugin, the wizard's microphone meter through Qt Multimedia, and the real engine's wizard, whose
// chosen outputs the program's sounds follow, now and in the next run.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMediaDevices>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include "app/LinphoneEngine.h"
#include "app/ModalWindows.h"
#include "dialer/Ringer.h"
#include "dialer/SoundPlayer.h"
#include "dialer/TuningWizard.h"
#include "dialer/VolumeSliders.h"
#include "records/SettingsStore.h"
#include "support/MixerLevels.h"
#include "tests/support/Fakes.h"
#include "tests/support/PulseServer.h"
#include "tests/support/ToneListener.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

// Runs the program's wizard over the engine's devices; `user` acts in it once it is up, then it
// is closed with OK.
void runWizard(QtModalWindows& windows, const std::function<void(TuningWizard&)>& user) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* wizard = dynamic_cast<TuningWizard*>(QApplication::activeModalWidget());
        if (!wizard) return;
        poll.stop();
        user(*wizard);
        wizard->accept();
    });
    poll.start(20);
    EXPECT_TRUE(windows.showTuningWizard(nullptr));
    EXPECT_FALSE(poll.isActive()) << "no wizard";
}

// The level sliders, the wizard's microphone meter and the chosen outputs on one sound server
// with three outputs, the first the desktop's default.
TEST(MixerPulseTest, LevelsMicrophoneAndChosenDevicesOfTheSoundServer) {
    PulseServer server({"default_sink", "ringer_sink", "speaker_sink"});
    ASSERT_TRUE(server.running());
    server.useInThisProcess();
    // The first channel's volume of the default sink or source (65536 = 100 %).
    auto volume = [&](const QString& kind) {
        const QString report =
            server.pactl({"get-" + kind + "-volume", "@DEFAULT_" + kind.toUpper() + "@"});
        return QRegularExpression(R"(:\s*(\d+)\s*/)").match(report).captured(1).toLong();
    };

    // The thumbs start at the server's levels, and moving them moves the levels.
    server.pactl({"set-sink-volume", "@DEFAULT_SINK@", "65536"});
    server.pactl({"set-source-volume", "@DEFAULT_SOURCE@", "32768"});
    RecordingMessageBox messages;
    MixerLevels levels(createAlsaMixer(), messages);
    QFrame panel;
    VolumeSliders sliders(&panel, levels);
    EXPECT_EQ(sliders.speakerSlider->value(), 65536);
    EXPECT_EQ(sliders.microphoneSlider->value(), 32768);
    sliders.speakerSlider->setValue(32790);
    sliders.microphoneSlider->setValue(16373);
    EXPECT_EQ(volume("sink"), 32790);
    EXPECT_EQ(volume("source"), 16373);

    {
        // A microphone that hears what the sink plays (the desktop lists no monitor as an input)
        // shows the level of loud noise played there, and falls back when it stops.
        server.pactl({"load-module", "module-remap-source", "master=" + server.monitorName(),
                      "source_name=tone_microphone"});
        QString monitor;
        ASSERT_TRUE(waitUntil([&] {
            for (const QAudioDevice& d : QMediaDevices::audioInputs())
                if (d.id() == "tone_microphone") monitor = d.description();
            return !monitor.isEmpty();
        }));
        server.pactl({"set-sink-volume", "@DEFAULT_SINK@", "65536"});
        FakeAudioTuning tuning;
        tuning.deviceList = {{"monitor", monitor, false, true}, {"out", "Out", true, false}};
        tuning.capture = "monitor";
        TuningWizard wizard(tuning, nullptr);
        Child player("pacat", {"--raw", "--format=u8", "/dev/urandom"}, server.environment());
        EXPECT_TRUE(waitUntil([&] { return wizard.microphoneLevel() > 30; }, 4000))
            << wizard.microphoneLevel();
        player.end();
        EXPECT_TRUE(waitUntil([&] { return wizard.microphoneLevel() < 5; }, 4000))
            << wizard.microphoneLevel();
    }

    // A key tone is heard on the chosen speaker and the ring on the chosen ringer, not on the
    // other output: once chosen, and from the start of the next run.
    MonitorRecorder speakerSink(server, "speaker_sink"), ringerSink(server, "ringer_sink");
    MonitorRecorder* const sinks[] = {&speakerSink, &ringerSink};
    QTemporaryDir folder;
    IniSettingsStore store(folder.filePath("Softphone.conf"));
    for (const bool chooseNow : {true, false}) {
        SCOPED_TRACE(chooseNow ? "chosen now" : "next run");
        SoundPlayer ringer, speaker;
        LinphoneEngine engine(folder.path());
        engine.initialize();
        QtModalWindows windows(store, messages, engine.audioTuning(), speaker, ringer);
        useChosenOutputs(engine.audioTuning(), speaker, ringer);
        Ringer ringing(ringer);
        // Selects nothing when the device is not offered; the sound checks then fail.
        if (chooseNow)
            runWizard(windows, [](TuningWizard& wizard) {
                wizard.ringerBox->setCurrentText("ringer_sink");
                wizard.playbackBox->setCurrentText("speaker_sink");
            });
        for (const bool ring : {false, true}) {
            MonitorRecorder &heard = *sinks[ring], &other = *sinks[!ring];
            const qsizetype heardFrom = heard.size(), otherFrom = other.size();
            SCOPED_TRACE(ring ? "ring" : "key tone");
            ring ? ringing.setRinging(true) : speaker.playTone("Tone5.wav");
            // A new stream on an idle sink may start up to 2 s late; then a second is recorded.
            const auto aSecondHeard = [&] {
                const qsizetype start = firstSound(heard.samples(heardFrom), 0);
                return start >= 0 && heard.size() > heardFrom + start + 8000;
            };
            EXPECT_TRUE(waitUntil(aSecondHeard, 15000)) << "not heard";
            ring ? ringing.setRinging(false) : speaker.stop();
            EXPECT_EQ(firstSound(other.samples(otherFrom), 0), -1) << "on the other output";
        }
        // The next run's wizard shows the choice, and its echo calibration ends with a result (a
        // null sink hears nothing it plays).
        if (!chooseNow)
            runWizard(windows, [](TuningWizard& wizard) {
                EXPECT_EQ(wizard.ringerBox->currentText(), "ringer_sink");
                EXPECT_EQ(wizard.playbackBox->currentText(), "speaker_sink");
                wizard.calibrateButton->click();
                waitUntil([&] { return wizard.calibrateButton->isEnabled(); }, 15000);
                EXPECT_THAT(wizard.calibrationLabel->text().toStdString(),
                            testing::AnyOf("No echo: echo cancelling off", "Calibration failed"));
            });
    }
}

}  // namespace
}  // namespace softphone::test
