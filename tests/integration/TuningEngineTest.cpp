// The tuning wizard of the real engine: its devices come from liblinphone, the choice made in it
// is still there when the engine starts again, and the program's own sounds follow it.
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

QStringList Items(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemData(i).toString();
    return items;
}

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
    ASSERT_GE(index, 0) << name.toStdString() << " not in " << Items(box).join(", ").toStdString();
    box->setCurrentIndex(index);
}

TEST(TuningEngine, ChoiceSticksAcrossRuns) {
    PulseServer server;
    ASSERT_TRUE(server.Running());
    server.UseInThisProcess();
    QTemporaryDir folder;
    RecordingSoundPlayer sounds;

    QString chosen;
    {
        LinphoneEngine engine(folder.path(), sounds, sounds);
        engine.Initialize();
        RunWizard(engine, [&](TuningWizard& wizard) {
            ASSERT_GE(wizard.playbackBox->count(), 2)
                << Items(wizard.playbackBox).join(", ").toStdString();
            ASSERT_GE(wizard.captureBox->count(), 1);
            // Whatever is not chosen now.
            const int other = wizard.playbackBox->currentIndex() == 0 ? 1 : 0;
            wizard.playbackBox->setCurrentIndex(other);
            chosen = wizard.playbackBox->currentData().toString();
        });
        engine.Shutdown();
    }
    ASSERT_FALSE(chosen.isEmpty());
    LinphoneEngine again(folder.path(), sounds, sounds);
    again.Initialize();
    RunWizard(again, [&](TuningWizard& wizard) {
        EXPECT_EQ(wizard.playbackBox->currentData().toString(), chosen);
    });
}

// The ring is heard on the chosen ringer and a key tone on the chosen speaker, each only there:
// once chosen, and from the start of the next run. Neither is the desktop's default output.
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
    }
}

TEST(TuningEngine, EchoCalibrationReportsAResult) {
    PulseServer server;
    ASSERT_TRUE(server.Running());
    server.UseInThisProcess();
    QTemporaryDir folder;
    RecordingSoundPlayer sounds;
    LinphoneEngine engine(folder.path(), sounds, sounds);
    engine.Initialize();
    QString result;
    RunWizard(engine, [&](TuningWizard& wizard) {
        wizard.calibrateButton->click();
        WaitUntil([&] { return wizard.calibrateButton->isEnabled(); }, 15000);
        result = wizard.calibrationLabel->text();
    });
    // A null sink hears nothing of what it plays.
    EXPECT_TRUE(result == "No echo: echo cancelling off" || result == "Calibration failed")
        << result.toStdString();
}

TEST(TuningEngine, NotStartedEngineRaisesAnError) {
    QTemporaryDir folder;
    RecordingSoundPlayer sounds;
    LinphoneEngine engine(folder.path(), sounds, sounds);
    EXPECT_THROW(engine.InvokeTuningWizard(nullptr), EngineError);
}

}  // namespace
}  // namespace softphone::test
