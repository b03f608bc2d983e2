#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>

#include "dialer/VolumeSliders.h"
#include "support/Twips.h"
#include "support/MixerLevels.h"
#include "tests/support/FakeMixer.h"
#include "tests/support/Fakes.h"

namespace softphone::test {
namespace {

using C = MixerComponent;
constexpr int kLeft = 1, kRight = 2, kBoth = 3;

// Both sliders over a fake card whose lines have the given ranges and current levels.
struct Sliders {
    QFrame frame;
    FakeMixer* mixer;
    RecordingMessageBox messages;
    std::unique_ptr<MixerLevels> volume;
    QStringList played;
    std::unique_ptr<VolumeSliders> sliders;

    explicit Sliders(long waveMin = 0, long waveMax = 65536, long waveLevel = 0,
                     bool micro = true) {
        auto m = std::make_unique<FakeMixer>();
        m->WithLine(C::Speakers, waveMin, waveMax);
        m->SetLevel(C::Speakers, waveLevel);
        if (micro) {
            m->WithLine(C::Microphone, 0, 100);
            m->SetLevel(C::Microphone, 0);
        }
        mixer = m.get();
        volume = std::make_unique<MixerLevels>(std::move(m), messages);
        sliders = std::make_unique<VolumeSliders>(&frame, *volume,
                                                  [this](const QString& path) { played << path; });
        mixer->writes.clear();
    }

    void Drag(int index, int button, float from, float to) {
        sliders->OnTrackMousePress(index, button, from);
        sliders->OnTrackMouseMove(index, button, to);
    }
};

TEST(VolumeSlider, DragStopsAtTheTrackEnds) {
    struct Row {
        long min, max;
        float to;
        int left;
        long written;  // what reached the mixer, after its clamp to [min, max]
    };
    const Row rows[] = {
        {0, 65536, -5000, -5, 0},       {0, 65536, 5000, 1480, 65536},
        {10, 110, -5000, -5, 10},        // level 0 is raised to Min by the mixer class
        {10, 110, 5000, 1480, 100},      // Max - Min
        {0, 65536, 742.5f, 738, 32790},  // 737.5 rounds to even
    };
    for (const Row& row : rows) {
        Sliders s(row.min, row.max, row.min);
        ASSERT_EQ(s.sliders->ThumbLeft(0), -5);
        s.Drag(0, kLeft, 0, row.to);
        EXPECT_EQ(s.sliders->ThumbLeft(0), row.left) << row.to;
        EXPECT_EQ(s.mixer->Last(C::Speakers), row.written) << row.to;
        EXPECT_EQ(s.mixer->writes.size(), 1u);
    }
}

TEST(VolumeSlider, ThumbFollowsThePointerFromTheAnchor) {
    Sliders s;
    s.Drag(0, kLeft, 40, 340);
    EXPECT_EQ(s.sliders->ThumbLeft(0), -5 + 300);
    // Every move writes at once; the anchor stays where the button went down.
    s.sliders->OnTrackMouseMove(0, kLeft, 140);
    EXPECT_EQ(s.sliders->ThumbLeft(0), 395);
    EXPECT_EQ(s.mixer->writes.size(), 2u);
    EXPECT_EQ(s.mixer->Last(C::Speakers), RoundHalfEven(double(float(65536.0 / 1485)) * 400));
}

TEST(VolumeSlider, OnlyTheLeftButtonAloneDrags) {
    for (int button : {0, kRight, kBoth, 4}) {
        Sliders s;
        s.sliders->OnTrackMousePress(1, kLeft, 40);
        s.Drag(1, button, 0, 500);
        EXPECT_EQ(s.sliders->ThumbLeft(1), -5) << button;
        EXPECT_EQ(s.sliders->lngDragAnchor, 40) << button;
        EXPECT_TRUE(s.mixer->writes.empty()) << button;
    }
}

TEST(VolumeSlider, MicrophoneSliderWritesTheMicrophoneLevel) {
    Sliders s;
    s.Drag(1, kLeft, 0, 1485);
    EXPECT_EQ(s.mixer->Last(C::Microphone), 100);
    EXPECT_EQ(s.mixer->Last(C::Speakers), -1);
}

TEST(VolumeSlider, ReleaseSoundsOnlyForThePlaybackSlider) {
    Sliders s;
    s.sliders->OnTrackMouseRelease(1);
    EXPECT_TRUE(s.played.isEmpty());
    s.sliders->OnTrackMouseRelease(0);
    ASSERT_EQ(s.played.size(), 1);
    EXPECT_TRUE(s.played[0].endsWith("/ding.wav")) << s.played[0].toStdString();
}

TEST(VolumeSlider, ThumbsStartAtTheCurrentLevel) {
    struct Row {
        long min, max, level;
        int left;
    };
    const Row rows[] = {{0, 65536, 0, -5},
                        {0, 65536, 65536, 1480},
                        {0, 65536, 32768, 738},
                        {-100, 100, 0, 737},
                        {5, 5, 5, 600}};
    for (const Row& row : rows) {
        Sliders s(row.min, row.max, row.level);
        EXPECT_EQ(s.sliders->ThumbLeft(0), row.left) << row.level;
    }
}

TEST(VolumeSlider, SliderOfAMissingLineIsHidden) {
    Sliders s(0, 100, 0, false);
    s.frame.show();
    EXPECT_TRUE(s.sliders->picWave[0]->isVisible());
    EXPECT_TRUE(s.sliders->Label1[0]->isVisible());
    EXPECT_FALSE(s.sliders->picWave[1]->isVisible());
    EXPECT_FALSE(s.sliders->Label1[1]->isVisible());
}

TEST(VolumeSlider, MouseEventsOfTheThumbDriveTheDrag) {
    Sliders s;
    s.frame.show();
    QWidget* thumb = s.sliders->picWave[0];
    auto send = [thumb](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, int x) {
        const QPointF local(x, 3);
        QMouseEvent event(type, local, thumb->mapToGlobal(local), button, held, Qt::NoModifier);
        QApplication::sendEvent(thumb, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 2);  // 30 twips
    send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 22);          // 330 twips
    EXPECT_EQ(s.sliders->ThumbLeft(0), 295);
    EXPECT_EQ(thumb->x(), 20);  // 295 twips
    send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton | Qt::RightButton, 60);
    EXPECT_EQ(s.sliders->ThumbLeft(0), 295);
    send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 22);
    EXPECT_EQ(s.played.size(), 1);
}

TEST(VolumeSlider, ThumbHasARaisedBorder) {
    Sliders s;
    QImage image(s.sliders->picWave[0]->size(), QImage::Format_RGB32);
    s.sliders->picWave[0]->render(&image);
    const QColor face(0x40, 0x40, 0x40);
    const QRect edge = s.sliders->rcThumb;
    EXPECT_GT(qGray(image.pixel(0, 0)), qGray(face.rgb()));                         // lit corner
    EXPECT_LT(qGray(image.pixel(edge.right(), edge.bottom())), qGray(face.rgb()));  // shadow
    EXPECT_EQ(QColor(image.pixel(image.width() - 1, image.height() - 1)), face);  // outside rcThumb
}

}  // namespace
}  // namespace softphone::test
