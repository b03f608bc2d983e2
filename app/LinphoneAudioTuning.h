#pragma once

#include <memory>

#include "dialer/AudioTuning.h"

namespace softphone {

class CalibrationListener;
class LinphoneEngine;

// The engine's sound devices and echo-canceller calibration, over its core while it runs.
class LinphoneAudioTuning : public IAudioTuning {
public:
    explicit LinphoneAudioTuning(LinphoneEngine& engine);
    ~LinphoneAudioTuning() override;

    std::vector<AudioDevice> devices() override;
    QString playbackDevice() override;
    QString captureDevice() override;
    QString ringerDevice() override;
    void setDevices(const QString& playback, const QString& capture,
                    const QString& ringer) override;
    void calibrateEchoCanceller(std::function<void(const QString&)> done) override;

private:
    LinphoneEngine& engine_;
    std::shared_ptr<CalibrationListener> listener_;
};

}  // namespace softphone
