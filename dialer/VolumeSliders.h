#pragma once

#include <QObject>
#include <QRect>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;

namespace softphone {

class MixerLevels;

// A slider thumb: a small dark square with a raised border.
class VolumeThumb : public QWidget {
public:
    VolumeThumb(QRect place, QRect edge, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect edge_;
};

// The two level sliders in the main window's display: index 0 sets the playback level, index 1
// the microphone level. Positions and pointer coordinates are in twips relative to the frame
// (pointer: to the thumb); every move writes the level to the mixer at once.
class VolumeSliders : public QObject {
public:
    // Plays a sound file, unless another sound plays.
    using PlaySoundFile = std::function<void(const QString& path)>;

    // Mouse button state: 1 left, 2 right, 4 middle, or their sum.
    static constexpr int kLeftButton = 1;

    // The tracks and thumbs are made in `frame` and go with the sliders.
    VolumeSliders(QWidget* frame, MixerLevels& volume, PlaySoundFile play);
    ~VolumeSliders() override;

    void OnTrackMousePress(int index, int button, float x);
    void OnTrackMouseMove(int index, int button, float x);
    void OnTrackMouseRelease(int index);
    void MoveVolumeThumb(int index, float x);
    void ApplySliderVolume(int p, int index);
    int ThumbLeft(int index) const { return thumbLeft_[index]; }

    std::array<QLabel*, 2> Label1;
    std::array<VolumeThumb*, 2> picWave;

    int lngHalfThumb;
    int lngTrackLeft;
    int lngTrackRight;
    int lngTrackWidth;
    int lngDragAnchor = 0;
    QRect rcThumb;
    std::array<float, 2> sngLevelPerTwip{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int Index(QObject* thumb) const;
    void PlaceThumb(int index, int left);
    int ThumbLeftForLevel(int index, int level) const;

    MixerLevels& volume_;
    PlaySoundFile play_;
    std::array<int, 2> thumbLeft_{};
    std::array<int, 2> thumbTop_{};
};

// Where a read-only sound of the program lies: its own folder, else the installed data folder.
QString SoundFilePath(const QString& name);

}  // namespace softphone
