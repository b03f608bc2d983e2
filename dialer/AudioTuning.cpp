#include "dialer/AudioTuning.h"

#include <QMediaDevices>

#include "dialer/SoundPlayer.h"

namespace softphone {
namespace {

// The desktop's output that the engine's device `id` stands for, found by the engine's name for
// it (PulseAudio devices are named by their description); null, the default output, when none.
QAudioDevice desktopOutput(const std::vector<AudioDevice>& devices, const QString& id) {
    for (const AudioDevice& device : devices)
        if (device.id == id)
            return findAudioDevice(QMediaDevices::audioOutputs(), device.name, QAudioDevice());
    return QAudioDevice();
}

}  // namespace

void useChosenOutputs(IAudioTuning& tuning, ISoundPlayer& speaker, ISoundPlayer& ringer) {
    const std::vector<AudioDevice> devices = tuning.devices();
    speaker.useOutput(desktopOutput(devices, tuning.playbackDevice()));
    ringer.useOutput(desktopOutput(devices, tuning.ringerDevice()));
}

QAudioDevice findAudioDevice(const QList<QAudioDevice>& devices, const QString& name,
                             const QAudioDevice& fallback) {
    for (const QAudioDevice& device : devices)
        if (device.description() == name || QString::fromUtf8(device.id()) == name) return device;
    return fallback;
}

}  // namespace softphone
