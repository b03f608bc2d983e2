#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QSlider>

#include "dialer/VolumeSliders.h"
#include "support/MixerLevels.h"
#include "tests/support/FakeDesk.h"
#include "tests/support/Fakes.h"

namespace softphone::test {
namespace {

using L = MixerLine;

// Both sliders over a fake card whose speaker line has the given range and current level.
struct Sliders {
    QFrame panel;
    FakeMixer* mixer;
    RecordingMessageBox messages;
    std::unique_ptr<MixerLevels> levels;
    QStringList played;
    std::unique_ptr<VolumeSliders> sliders;

    explicit Sliders(long minimum = 0, long maximum = 65536, long level = 0, bool micro = true) {
        auto m = std::make_unique<FakeMixer>();
        m->WithLine(L::Speaker, minimum, maximum);
        m->SetLevel(L::Speaker, level);
        if (micro) m->WithLine(L::Microphone, 0, 100).SetLevel(L::Microphone, 0);
        mixer = m.get();
        levels = std::make_unique<MixerLevels>(std::move(m), messages);
        sliders = std::make_unique<VolumeSliders>(&panel, *levels,
                                                  [this](const QString& path) { played << path; });
        panel.resize(120, 40);
        panel.show();
    }

    static void Send(QSlider* slider, QEvent::Type type, Qt::MouseButton button,
                     Qt::MouseButtons held, QPoint at) {
        QMouseEvent event(type, at, slider->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(slider, &event);
    }

    // Presses on the thumb at the level it shows, moves the pointer by each of `steps` in turn
    // and releases.
    static void Drag(QSlider* slider, std::initializer_list<int> steps,
                     Qt::MouseButton button = Qt::LeftButton) {
        const int travel = slider->width() - 7;
        const int left = QStyle::sliderPositionFromValue(slider->minimum(), slider->maximum(),
                                                         slider->value(), travel);
        QPoint at(left + 3, slider->height() / 2);
        Send(slider, QEvent::MouseButtonPress, button, button, at);
        for (int step : steps) {
            at.rx() += step;
            Send(slider, QEvent::MouseMove, Qt::NoButton, button, at);
        }
        Send(slider, QEvent::MouseButtonRelease, button, Qt::NoButton, at);
    }
};

TEST(VolumeSlider, DraggingToTheTrackEndsWritesTheLineRangeEnds) {
    struct Row {
        long minimum, maximum;
        int step;
        long written;
    };
    const Row rows[] = {
        {0, 65536, -500, 0}, {0, 65536, 500, 65536}, {10, 110, -500, 10}, {10, 110, 500, 110}};
    for (const Row& row : rows) {
        Sliders s(row.minimum, row.maximum, (row.minimum + row.maximum) / 2);
        Sliders::Drag(s.sliders->speakerSlider, {row.step});
        EXPECT_EQ(s.mixer->Last(L::Speaker), row.written) << row.step;
        EXPECT_EQ(s.mixer->writes.size(), 1u);
    }
}

TEST(VolumeSlider, EveryMoveWritesAtOnceWithTheLevelGrowingAlongTheTrack) {
    Sliders s;
    Sliders::Drag(s.sliders->microphoneSlider, {10, 10, 10});
    ASSERT_EQ(s.mixer->writes.size(), 3u);
    EXPECT_EQ(s.mixer->writes[0].line, L::Microphone);
    EXPECT_GT(s.mixer->writes[0].value, 0);
    EXPECT_LT(s.mixer->writes[0].value, s.mixer->writes[1].value);
    EXPECT_LT(s.mixer->writes[1].value, s.mixer->writes[2].value);
    EXPECT_EQ(s.mixer->Last(L::Speaker), -1);
}

TEST(VolumeSlider, OnlyTheLeftButtonDrags) {
    Sliders s;
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton})
        Sliders::Drag(s.sliders->speakerSlider, {40}, button);
    EXPECT_TRUE(s.mixer->writes.empty());
}

TEST(VolumeSlider, ReleaseSoundsOnlyForTheSpeakerSlider) {
    Sliders s;
    Sliders::Drag(s.sliders->microphoneSlider, {5});
    EXPECT_TRUE(s.played.isEmpty());
    Sliders::Drag(s.sliders->speakerSlider, {5});
    ASSERT_EQ(s.played.size(), 1);
    EXPECT_TRUE(s.played[0].endsWith("/ding.wav")) << s.played[0].toStdString();
}

TEST(VolumeSlider, ThumbsStartAtTheCurrentLevelWithoutWriting) {
    for (long level : {0L, 32768L, 65536L}) {
        Sliders s(0, 65536, level);
        EXPECT_EQ(s.sliders->speakerSlider->value(), level);
        EXPECT_TRUE(s.mixer->writes.empty());
    }
}

TEST(VolumeSlider, SliderOfAMissingLineIsHidden) {
    Sliders s(0, 100, 0, false);
    EXPECT_TRUE(s.sliders->speakerSlider->isVisible());
    EXPECT_FALSE(s.sliders->microphoneSlider->isVisible());
}

}  // namespace
}  // namespace softphone::test
