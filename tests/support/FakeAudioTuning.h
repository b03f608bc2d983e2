#pragma once

#include <QStringList>

#include "app/TuningWizard.h"

namespace softphone::test {

// Two speakers, a microphone and a headset; records the devices chosen.
class FakeAudioTuning : public IAudioTuning {
public:
    std::vector<AudioDevice> Devices() override { return devices; }
    QString PlaybackDevice() override { return playback; }
    QString CaptureDevice() override { return capture; }
    QString RingerDevice() override { return ringer; }
    void SetDevices(const QString& p, const QString& c, const QString& r) override {
        saved << p + " / " + c + " / " + r;
    }
    void CalibrateEchoCanceller(std::function<void(const QString&)> done) override {
        calibrationDone = std::move(done);
    }

    std::vector<AudioDevice> devices = {
        {"pulse:speakers", "Speakers", true, false},
        {"pulse:hdmi", "HDMI", true, false},
        {"pulse:mic", "Microphone", false, true},
        {"alsa:headset", "Headset", true, true},
    };
    QString playback = "pulse:hdmi", capture = "alsa:headset", ringer = "pulse:speakers";
    QStringList saved;
    std::function<void(const QString&)> calibrationDone;
};

}  // namespace softphone::test
