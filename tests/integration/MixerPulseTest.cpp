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
#include "app/TuningWizard.h"
#include "dialer/SoundPlayer.h"
#include "dialer/VolumeSliders.h"
#include "support/MixerLevels.h"
#include "tests/support/Fakes.h"
#include "tests/support/PulseServer.h"
#include "tests/support/ToneListener.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

// Runs the engine's wizard; `user` acts in it once it is up, then it is closed with OK.
void RunWizard(LinphoneEngine& engine, const std::function<void(TuningWizard&)>& user) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* wizard = dynamic_cast<TuningWizard*>(QApplication::activeModalWidget());
        if (!wizard) return;
        poll.stop();
        user(*wizard);
        wizard->accept();
    });
    poll.start(20);
    engine.InvokeTuningWizard(nullptr);
    EXPECT_FALSE(poll.isActive()) << "no wizard";
}

// One sound server with three outputs, the first the desktop's default.
TEST(MixerPulseTest, LevelsMicrophoneAndChosenDevicesOfTheSoundServer) {
    PulseServer server({"default_sink", "ringer_sink", "speaker_sink"});
    ASSERT_TRUE(server.Running());
    server.UseInThisProcess();
    // The first channel's volume of the default sink or source (65536 = 100 %).
    auto volume = [&](const QString& kind) {
        const QString report =
            server.Pactl({"get-" + kind + "-volume", server.Pactl({"get-default-" + kind})});
        const auto match = QRegularExpression(R"(:\s*(\d+)\s*/)").match(report);
        return match.hasMatch() ? match.captured(1).toLong() : -1;
    };

    // The thumbs start at the server's levels, and moving them moves the levels.
    server.Pactl({"set-sink-volume", "@DEFAULT_SINK@", "65536"});
    server.Pactl({"set-source-volume", "@DEFAULT_SOURCE@", "32768"});
    RecordingMessageBox messages;
    MixerLevels levels(CreateAlsaMixer(), messages);
    EXPECT_TRUE(messages.shown.empty());
    QFrame panel;
    VolumeSliders sliders(&panel, levels, nullptr);
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
        server.Pactl({"load-module", "module-remap-source", "master=" + server.MonitorName(),
                      "source_name=tone_microphone"});
        QString monitor;
        ASSERT_TRUE(WaitUntil([&] {
            for (const QAudioDevice& d : QMediaDevices::audioInputs())
                if (d.id() == "tone_microphone") monitor = d.description();
            return !monitor.isEmpty();
        }));
        server.Pactl({"set-sink-volume", "@DEFAULT_SINK@", "65536"});
        FakeAudioTuning tuning;
        tuning.devices = {{"monitor", monitor, false, true}, {"out", "Out", true, false}};
        tuning.capture = "monitor";
        TuningWizard wizard(tuning, nullptr);
        ASSERT_EQ(wizard.captureBox->currentText(), monitor);
        Pump(500);
        EXPECT_LT(wizard.MicrophoneLevel(), 5);
        Child player("pacat",
                     {"--raw", "--format=u8", "--rate=8000", "--channels=1", "/dev/urandom"},
                     server.Environment());
        EXPECT_TRUE(WaitUntil([&] { return wizard.MicrophoneLevel() > 30; }, 4000))
            << wizard.MicrophoneLevel();
    }

    // The ring is heard on the chosen ringer and a key tone on the chosen speaker, each only
    // there: once chosen, and from the start of the next run, whose wizard shows the choice.
    // Neither is the desktop's default output.
    MonitorRecorder ringerSink(server, "ringer_sink"), speakerSink(server, "speaker_sink");
    QTemporaryDir folder;
    constexpr qsizetype kMs = MonitorRecorder::kRate / 1000;

    for (const bool chooseNow : {true, false}) {
        SoundPlayer ringer, speaker;
        LinphoneEngine engine(folder.path(), ringer, speaker);
        engine.Initialize();
        if (chooseNow) {
            RunWizard(engine, [](TuningWizard& wizard) {
                // Selects nothing when the device is not offered; the sound checks then fail.
                wizard.ringerBox->setCurrentText("ringer_sink");
                wizard.playbackBox->setCurrentText("speaker_sink");
            });
        }
        const qsizetype ringFrom = ringerSink.Size(), toneFrom = speakerSink.Size();
        engine.PlayRing(true);
        speaker.PlayTone("Tone5.wav");
        // A newly opened stream on an idle sink may start up to 2 s late; the ring then has
        // half a second to show up on the wrong sink too.
        ASSERT_TRUE(WaitUntil(
            [&] {
                const QByteArray rung = ringerSink.Samples(ringFrom);
                const qsizetype ringStart = FirstSound(rung, 0);
                return ringStart >= 0 && rung.size() > ringStart + 500 * kMs &&
                       !HearTones(speakerSink.Samples(toneFrom)).empty();
            },
            15000))
            << (chooseNow ? "chosen now" : "next run");
        engine.PlayRing(false);

        EXPECT_TRUE(HearTones(ringerSink.Samples(ringFrom)).empty()) << "a key tone on the ringer";
        const QByteArray spoken = speakerSink.Samples(toneFrom);
        const auto tones = HearTones(spoken);
        ASSERT_EQ(KeysOf(tones), "5");
        const qsizetype toneEnd = tones.front().start + tones.front().length;
        EXPECT_GE(FirstSound(spoken, 0), tones.front().start - 20 * kMs) << "sound before the tone";
        EXPECT_EQ(FirstSound(spoken, toneEnd + 30 * kMs), -1) << "the ring on the speaker";
        if (!chooseNow) {
            RunWizard(engine, [](TuningWizard& wizard) {
                EXPECT_EQ(wizard.ringerBox->currentText(), "ringer_sink");
                EXPECT_EQ(wizard.playbackBox->currentText(), "speaker_sink");
                // Echo calibration ends with a result; a null sink hears nothing it plays.
                wizard.calibrateButton->click();
                WaitUntil([&] { return wizard.calibrateButton->isEnabled(); }, 15000);
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
