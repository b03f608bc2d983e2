// The tuning wizard of the real engine: its devices come from liblinphone, the choice made in it
// is still there when the engine starts again, the program's own sounds follow it, and echo
// calibration reports a result.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "app/LinphoneEngine.h"
#include "app/TuningWizard.h"
#include "dialer/SoundPlayer.h"
#include "tests/support/Fakes.h"
#include "tests/support/PulseServer.h"
#include "tests/support/ToneListener.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

// Runs the engine's wizard; `user` acts in it once it is up, then it is closed with OK.
void RunWizard(LinphoneEngine& engine, const std::function<void(TuningWizard&)>& user) {
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* wizard = dynamic_cast<TuningWizard*>(QApplication::activeModalWidget());
        if (!wizard) return;
        poll.stop();
        seen = true;
        user(*wizard);
        wizard->accept();
    });
    poll.start(20);
    engine.InvokeTuningWizard(nullptr);
    EXPECT_TRUE(seen);
}

void Choose(QComboBox* box, const QString& name) {
    const int index = box->findText(name);
    ASSERT_GE(index, 0) << name.toStdString() << " is not offered";
    box->setCurrentIndex(index);
}

// The ring is heard on the chosen ringer and a key tone on the chosen speaker, each only there:
// once chosen, and from the start of the next run, whose wizard shows the choice. Neither is the
// desktop's default output.
TEST(TuningEngine, RingAndKeyTonesPlayOnTheChosenDevices) {
    PulseServer server({"default_sink", "ringer_sink", "speaker_sink"});
    ASSERT_TRUE(server.Running());
    server.UseInThisProcess();
    MonitorRecorder ringerSink(server, "ringer_sink"), speakerSink(server, "speaker_sink");
    QTemporaryDir folder;
    constexpr qsizetype kMs = MonitorRecorder::kRate / 1000;

    for (const bool chooseNow : {true, false}) {
        SoundPlayer ringer, speaker;
        LinphoneEngine engine(folder.path(), ringer, speaker);
        engine.Initialize();
        if (chooseNow) {
            RunWizard(engine, [](TuningWizard& wizard) {
                Choose(wizard.ringerBox, "ringer_sink");
                Choose(wizard.playbackBox, "speaker_sink");
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

TEST(TuningEngine, NotStartedEngineRaisesAnError) {
    QTemporaryDir folder;
    RecordingSoundPlayer sounds;
    LinphoneEngine engine(folder.path(), sounds, sounds);
    EXPECT_THROW(engine.InvokeTuningWizard(nullptr), EngineError);
}

}  // namespace
}  // namespace softphone::test
