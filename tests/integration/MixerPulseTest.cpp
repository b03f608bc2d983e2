// The sound devices over a private PulseAudio server: the mixer and the sliders through
// alsa-lib's "default" device and its pulse plugin; the tuning wizard's microphone level through
// Qt Multimedia; and the real engine's wizard, whose devices come from liblinphone, whose choice
// is still there when the engine starts again and which the program's own sounds follow, and
// whose echo calibration reports a result.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMediaDevices>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
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

// One sound server with three outputs, the first the desktop's default.
TEST(MixerPulseTest, LevelsMicrophoneAndChosenDevicesOfTheSoundServer) {
    PulseServer server({"default_sink", "ringer_sink", "speaker_sink"});
    ASSERT_TRUE(server.running());
    server.useInThisProcess();
    // The first channel's volume of the default sink or source (65536 = 100 %).
    auto volume = [&](const QString& kind) {
        const QString report =
            server.pactl({"get-" + kind + "-volume", server.pactl({"get-default-" + kind})});
        const auto match = QRegularExpression(R"(:\s*(\d+)\s*/)").match(report);
        return match.hasMatch() ? match.captured(1).toLong() : -1;
    };

    // The thumbs start at the server's levels, and moving them moves the levels.
    server.pactl({"set-sink-volume", "@DEFAULT_SINK@", "65536"});
    server.pactl({"set-source-volume", "@DEFAULT_SOURCE@", "32768"});
    RecordingMessageBox messages;
    MixerLevels levels(createAlsaMixer(), messages);
    EXPECT_TRUE(messages.shown.empty());
    QFrame panel;
    VolumeSliders sliders(&panel, levels);
    EXPECT_EQ(sliders.speakerSlider->maximum(), 65536);
    EXPECT_EQ(sliders.speakerSlider->value(), 65536);
    EXPECT_EQ(sliders.microphoneSlider->value(), 32768);
    const struct {
        QSlider* slider;
        QString kind;
        int value;
    } rows[] = {
        {sliders.speakerSlider, "sink", 0},
        {sliders.speakerSlider, "sink", 32790},
        {sliders.microphoneSlider, "source", 16373},
        {sliders.microphoneSlider, "source", 65536},
    };
    for (const auto& row : rows) {
        row.slider->setValue(row.value);
        EXPECT_EQ(volume(row.kind), row.value) << row.kind.toStdString() << " " << row.value;
    }

    {
        // A microphone that hears what the sink plays (the desktop lists no monitor as an input)
        // shows the level of loud noise played there.
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
        ASSERT_EQ(wizard.captureBox->currentText(), monitor);
        pump(500);
        EXPECT_LT(wizard.microphoneLevel(), 5);
        Child player("pacat",
                     {"--raw", "--format=u8", "--rate=8000", "--channels=1", "/dev/urandom"},
                     server.environment());
        EXPECT_TRUE(waitUntil([&] { return wizard.microphoneLevel() > 30; }, 4000))
            << wizard.microphoneLevel();
    }

    // The ring is heard on the chosen ringer and a key tone on the chosen speaker, each only
    // there: once chosen, and from the start of the next run, whose wizard shows the choice.
    // Neither is the desktop's default output.
    MonitorRecorder ringerSink(server, "ringer_sink"), speakerSink(server, "speaker_sink");
    QTemporaryDir folder;
    IniSettingsStore store(folder.filePath("Softphone.conf"));
    constexpr qsizetype kMs = MonitorRecorder::kRate / 1000;

    for (const bool chooseNow : {true, false}) {
        SoundPlayer ringer, speaker;
        LinphoneEngine engine(folder.path());
        engine.initialize();
        QtModalWindows windows(store, messages, engine.audioTuning(), speaker, ringer);
        useChosenOutputs(engine.audioTuning(), speaker, ringer);
        Ringer ringing(ringer);
        if (chooseNow) {
            runWizard(windows, [](TuningWizard& wizard) {
                // Selects nothing when the device is not offered; the sound checks then fail.
                wizard.ringerBox->setCurrentText("ringer_sink");
                wizard.playbackBox->setCurrentText("speaker_sink");
            });
        }
        const qsizetype ringFrom = ringerSink.size(), toneFrom = speakerSink.size();
        ringing.setRinging(true);
        speaker.playTone("Tone5.wav");
        // A newly opened stream on an idle sink may start up to 2 s late; the ring then has
        // half a second to show up on the wrong sink too.
        ASSERT_TRUE(waitUntil(
            [&] {
                const QByteArray rung = ringerSink.samples(ringFrom);
                const qsizetype ringStart = firstSound(rung, 0);
                return ringStart >= 0 && rung.size() > ringStart + 500 * kMs &&
                       !hearTones(speakerSink.samples(toneFrom)).empty();
            },
            15000))
            << (chooseNow ? "chosen now" : "next run");
        ringing.setRinging(false);

        EXPECT_TRUE(hearTones(ringerSink.samples(ringFrom)).empty()) << "a key tone on the ringer";
        const QByteArray spoken = speakerSink.samples(toneFrom);
        const auto tones = hearTones(spoken);
        ASSERT_EQ(keysOf(tones), "5");
        const qsizetype toneEnd = tones.front().start + tones.front().length;
        EXPECT_GE(firstSound(spoken, 0), tones.front().start - 20 * kMs) << "sound before the tone";
        EXPECT_EQ(firstSound(spoken, toneEnd + 30 * kMs), -1) << "the ring on the speaker";
        if (!chooseNow) {
            runWizard(windows, [](TuningWizard& wizard) {
                EXPECT_EQ(wizard.ringerBox->currentText(), "ringer_sink");
                EXPECT_EQ(wizard.playbackBox->currentText(), "speaker_sink");
                // Echo calibration ends with a result; a null sink hears nothing it plays.
                wizard.calibrateButton->click();
                waitUntil([&] { return wizard.calibrateButton->isEnabled(); }, 15000);
                const QString result = wizard.calibrationLabel->text();
                EXPECT_TRUE(result == "No echo: echo cancelling off" ||
                            result == "Calibration failed")
                    << result.toStdString();
            });
        }
    }
}

}  // namespace
}  // namespace softphone::test
