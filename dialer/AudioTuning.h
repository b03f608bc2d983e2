#pragma once

#include <QAudioDevice>
#include <QList>
#include <QString>
#include <functional>
#include <vector>

namespace softphone {

class ISoundPlayer;

struct AudioDevice {
    QString id;    // the engine's name for it
    QString name;  // what the desktop calls it
    bool canPlay = false;
    bool canRecord = false;
};

// The SIP engine's sound devices and echo-canceller calibration, as the tuning wizard uses them.
class IAudioTuning {
public:
    virtual ~IAudioTuning() = default;
    virtual std::vector<AudioDevice> devices() = 0;
    virtual QString playbackDevice() = 0;
    virtual QString captureDevice() = 0;
    virtual QString ringerDevice() = 0;
    // Chooses the devices by id and keeps the choice in the engine's configuration.
    virtual void setDevices(const QString& playback, const QString& capture,
                            const QString& ringer) = 0;
    // Measures the echo delay on the chosen devices; `done` gets a line to show the user.
    virtual void calibrateEchoCanceller(std::function<void(const QString& result)> done) = 0;
};

// The program's own sounds follow the engine's choice: key tones and the release sound on its
// playback device, the ring on its ringer device.
void useChosenOutputs(IAudioTuning& tuning, ISoundPlayer& speaker, ISoundPlayer& ringer);

// The desktop's device with this description or id, or `fallback`.
QAudioDevice findAudioDevice(const QList<QAudioDevice>& devices, const QString& name,
                             const QAudioDevice& fallback);

}  // namespace softphone
