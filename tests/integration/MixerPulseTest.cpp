#include <gtest/gtest.h>

#include <QFrame>
#include <QProcess>
#include <QRegularExpression>
#include <QSlider>

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

TEST_F(MixerPulseTest, SlidersMoveTheServersLevels) {
    MixerLevels levels(CreateAlsaMixer(), messages);
    EXPECT_TRUE(messages.shown.empty());
    QFrame panel;
    VolumeSliders sliders(&panel, levels, nullptr);
    struct Row {
        QSlider* slider;
        const char* kind;
        int value;
        long level;  // what the server reports afterwards
    };
    const Row rows[] = {
        {sliders.speakerSlider, "sink", 0, 0},
        {sliders.speakerSlider, "sink", 32790, 32790},
        {sliders.speakerSlider, "sink", 65536, 65536},
        {sliders.microphoneSlider, "source", 0, 0},
        {sliders.microphoneSlider, "source", 16373, 16373},
        {sliders.microphoneSlider, "source", 65536, 65536},
    };
    for (const Row& row : rows) {
        row.slider->setValue(row.value);
        const QString device = row.kind == QLatin1String("sink") ? DefaultSink() : DefaultSource();
        EXPECT_EQ(Volume(row.kind, device), row.level) << row.kind << " " << row.value;
    }
}

TEST_F(MixerPulseTest, ThumbsStartAtTheServersLevels) {
    Pactl({"set-sink-volume", DefaultSink(), "65536"});
    Pactl({"set-source-volume", DefaultSource(), "32768"});
    MixerLevels levels(CreateAlsaMixer(), messages);
    QFrame panel;
    VolumeSliders sliders(&panel, levels, nullptr);
    EXPECT_EQ(sliders.speakerSlider->maximum(), 65536);
    EXPECT_EQ(sliders.speakerSlider->value(), 65536);
    EXPECT_EQ(sliders.microphoneSlider->value(), 32768);
}

}  // namespace
}  // namespace softphone::test
