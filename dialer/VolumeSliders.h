#pragma once

#include <QObject>

class QSlider;
class QWidget;

namespace softphone {

class MixerLevels;

// The two level sliders in the main window's display: the upper one sets the speaker level, the
// lower one the microphone level. A slider shows only when its line has a level; it starts at
// the line's level and every move writes the new level at once. Releasing the speaker slider
// asks for the release sound, at the new level.
class VolumeSliders : public QObject {
    Q_OBJECT
public:
    // The sliders are made in `panel` and go with this object.
    VolumeSliders(QWidget* panel, MixerLevels& levels);
    ~VolumeSliders() override;

    QSlider* speakerSlider;
    QSlider* microphoneSlider;

signals:
    // The path of the release sound ("ding.wav").
    void releaseSoundWanted(const QString& path);
};

// Where a read-only sound of the program lies: its own folder, else the installed data folder.
QString soundFilePath(const QString& name);

}  // namespace softphone
