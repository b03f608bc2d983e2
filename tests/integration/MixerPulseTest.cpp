// The mixer and the sliders over alsa-lib's "default" device, which reaches a private
// PulseAudio server through the pulse plugin.
#include <gtest/gtest.h>

#include <QFrame>
#include <QRegularExpression>
#include <QSlider>

#include "dialer/VolumeSliders.h"
#include "support/MixerLevels.h"
#include "tests/support/Fakes.h"
#include "tests/support/PulseServer.h"

namespace softphone::test {
namespace {

class MixerPulseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Running());
        server.UseInThisProcess();
    }
    // The first channel's volume of the default sink or source, in PulseAudio's units (65536 =
    // 100 %).
    long Volume(const QString& kind) {
        const QString device = server.Pactl({"get-default-" + kind});
        const QString report = server.Pactl({"get-" + kind + "-volume", device});
        const auto match = QRegularExpression(R"(:\s*(\d+)\s*/)").match(report);
        return match.hasMatch() ? match.captured(1).toLong() : -1;
    }

    PulseServer server;
    RecordingMessageBox messages;
};

TEST_F(MixerPulseTest, SlidersMoveTheServersLevels) {
    MixerLevels levels(CreateAlsaMixer(), messages);
    EXPECT_TRUE(messages.shown.empty());
    QFrame panel;
    VolumeSliders sliders(&panel, levels, nullptr);
    const struct {
        QSlider* slider;
        QString kind;
        int value;
    } rows[] = {
        {sliders.speakerSlider, "sink", 0},          {sliders.speakerSlider, "sink", 32790},
        {sliders.speakerSlider, "sink", 65536},      {sliders.microphoneSlider, "source", 0},
        {sliders.microphoneSlider, "source", 16373}, {sliders.microphoneSlider, "source", 65536},
    };
    for (const auto& row : rows) {
        row.slider->setValue(row.value);
        EXPECT_EQ(Volume(row.kind), row.value) << row.kind.toStdString() << " " << row.value;
    }
}

TEST_F(MixerPulseTest, ThumbsStartAtTheServersLevels) {
    server.Pactl({"set-sink-volume", "@DEFAULT_SINK@", "65536"});
    server.Pactl({"set-source-volume", "@DEFAULT_SOURCE@", "32768"});
    MixerLevels levels(CreateAlsaMixer(), messages);
    QFrame panel;
    VolumeSliders sliders(&panel, levels, nullptr);
    EXPECT_EQ(sliders.speakerSlider->maximum(), 65536);
    EXPECT_EQ(sliders.speakerSlider->value(), 65536);
    EXPECT_EQ(sliders.microphoneSlider->value(), 32768);
}

}  // namespace
}  // namespace softphone::test
