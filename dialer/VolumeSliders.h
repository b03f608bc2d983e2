#pragma once

#include <QObject>
#include <functional>

class QSlider;
class QWidget;

namespace softphone {

class MixerLevels;

// The two level sliders in the main window's display: the upper one sets the speaker level, the
// lower one the microphone level. A slider shows only when its line has a level; it starts at
// the line's level and every move writes the new level at once. Releasing the speaker slider
// plays a test sound.
class VolumeSliders : public QObject {
public:
    // Plays a sound file, unless another sound plays.
    using PlaySoundFile = std::function<void(const QString& path)>;

    // The sliders are made in `panel` and go with this object.
    VolumeSliders(QWidget* panel, MixerLevels& levels, PlaySoundFile play);
    ~VolumeSliders() override;

    QSlider* speakerSlider;
    QSlider* microphoneSlider;
};

// Where a read-only sound of the program lies: its own folder, else the installed data folder.
QString soundFilePath(const QString& name);

}  // namespace softphone
