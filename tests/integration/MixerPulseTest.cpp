#include <gtest/gtest.h>

#include <QFrame>
#include <QProcess>
#include <QRegularExpression>

#include "dialer/VolumeSliders.h"
#include "support/MixerLevels.h"
#include "tests/support/Fakes.h"
#include "tests/support/PulseServer.h"

namespace softphone::test {
namespace {

// The mixer and the sliders over alsa-lib's "default" device, which reaches a private
// PulseAudio server through the pulse plugin.
class MixerPulseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Running());
        server.UseInThisProcess();
    }

    QString Pactl(const QStringList& arguments) {
        QProcess pactl;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PULSE_SERVER", server.Address());
        pactl.setProcessEnvironment(env);
        pactl.start("pactl", arguments);
        pactl.waitForFinished(5000);
        return QString::fromUtf8(pactl.readAllStandardOutput()).trimmed();
    }

    // The first channel's volume, in PulseAudio's units (65536 = 100 %).
    long Volume(const char* kind, const QString& name) {
        const QString report = Pactl({QStringLiteral("get-%1-volume").arg(kind), name});
        const auto match = QRegularExpression(R"(:\s*(\d+)\s*/)").match(report);
        return match.hasMatch() ? match.captured(1).toLong() : -1;
    }

    QString DefaultSource() { return Pactl({"get-default-source"}); }
    QString DefaultSink() { return Pactl({"get-default-sink"}); }

    PulseServer server;
    RecordingMessageBox messages;
};

TEST_F(MixerPulseTest, FindsPlaybackAndCaptureLevels) {
    MixerLevels volume(CreateAlsaMixer(), messages);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(volume.HasVolumeControl(MixerLevels::Wave));
    EXPECT_TRUE(volume.HasVolumeControl(MixerLevels::Micro));
    EXPECT_TRUE(volume.HasMuteControl(MixerLevels::Wave | MixerLevels::Micro));
    EXPECT_FALSE(volume.HasVolumeControl(MixerLevels::CD | MixerLevels::MIDI));
    EXPECT_EQ(volume.MinWaveVolume(), 0);
    EXPECT_EQ(volume.MaxWaveVolume(), 65536);
    EXPECT_EQ(volume.MaxMicVolume(), 65536);

    volume.WaveMute(1);
    EXPECT_EQ(Pactl({"get-sink-mute", DefaultSink()}), "Mute: yes");
    EXPECT_EQ(volume.WaveMute(), 1);
    volume.WaveMute(0);
    EXPECT_EQ(Pactl({"get-sink-mute", DefaultSink()}), "Mute: no");
}

TEST_F(MixerPulseTest, SlidersMoveTheServersLevels) {
    MixerLevels volume(CreateAlsaMixer(), messages);
    QFrame frame;
    VolumeSliders sliders(&frame, volume, nullptr);
    struct Row {
        int index;
        float to;    // pointer x in twips, pressed at 0
        long level;  // what the server reports afterwards
    };
    const Row rows[] = {
        {0, -3000, 0}, {0, 742.5f, 32790}, {0, 3000, 65536},
        {1, -3000, 0}, {1, 371, 16373},    {1, 3000, 65536},
    };
    for (const Row& row : rows) {
        sliders.OnTrackMousePress(row.index, VolumeSliders::kLeftButton, 0);
        sliders.OnTrackMouseMove(row.index, VolumeSliders::kLeftButton, row.to);
        const long reported =
            row.index == 0 ? Volume("sink", DefaultSink()) : Volume("source", DefaultSource());
        EXPECT_EQ(reported, row.level) << row.index << " " << row.to;
        sliders.OnTrackMousePress(row.index, VolumeSliders::kLeftButton, 0);
        sliders.OnTrackMouseMove(row.index, VolumeSliders::kLeftButton, -3000);
    }
}

TEST_F(MixerPulseTest, ThumbsStartAtTheServersLevels) {
    Pactl({"set-sink-volume", DefaultSink(), "65536"});
    Pactl({"set-source-volume", DefaultSource(), "32768"});
    MixerLevels volume(CreateAlsaMixer(), messages);
    EXPECT_EQ(volume.WaveVolume(), 65536);
    EXPECT_EQ(volume.MicroVolume(), 32768);
    QFrame frame;
    VolumeSliders sliders(&frame, volume, nullptr);
    EXPECT_EQ(sliders.ThumbLeft(0), 1480);
    EXPECT_EQ(sliders.ThumbLeft(1), 738);
}

}  // namespace
}  // namespace softphone::test
