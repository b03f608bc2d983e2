#include "app/LinphoneAudioTuning.h"

#include <linphone++/linphone.hh>

#include "app/LinphoneEngine.h"

namespace softphone {
namespace {

QString fromStd(const std::string& s) { return QString::fromStdString(s); }

QString calibrationText(linphone::EcCalibratorStatus status, int delayMs) {
    using S = linphone::EcCalibratorStatus;
    switch (status) {
        case S::Done: return QObject::tr("Echo delay %1 ms: echo cancelling on").arg(delayMs);
        case S::DoneNoEcho: return QObject::tr("No echo: echo cancelling off");
        case S::Failed: return QObject::tr("Calibration failed");
        case S::InProgress: break;
    }
    return QString();
}

}  // namespace

class CalibrationListener : public linphone::CoreListener {
public:
    std::function<void(const QString&)> done;

    void onEcCalibrationResult(const std::shared_ptr<linphone::Core>&,
                               linphone::EcCalibratorStatus status, int delayMs) override {
        const QString text = calibrationText(status, delayMs);
        if (text.isEmpty() || !done) return;
        // Reported once; the callback may end the wizard.
        std::exchange(done, nullptr)(text);
    }
};

LinphoneAudioTuning::LinphoneAudioTuning(LinphoneEngine& engine)
    : engine_(engine), listener_(std::make_shared<CalibrationListener>()) {}

LinphoneAudioTuning::~LinphoneAudioTuning() = default;

std::vector<AudioDevice> LinphoneAudioTuning::devices() {
    using Cap = linphone::AudioDevice::Capabilities;
    std::vector<AudioDevice> devices;
    if (!engine_.core_) return devices;
    for (const auto& d : engine_.core_->getExtendedAudioDevices()) {
        const int caps = int(d->getCapabilities());
        devices.push_back({fromStd(d->getId()), fromStd(d->getDeviceName()),
                           (caps & int(Cap::CapabilityPlay)) != 0,
                           (caps & int(Cap::CapabilityRecord)) != 0});
    }
    return devices;
}

QString LinphoneAudioTuning::playbackDevice() {
    return engine_.core_ ? fromStd(engine_.core_->getPlaybackDevice()) : QString();
}

QString LinphoneAudioTuning::captureDevice() {
    return engine_.core_ ? fromStd(engine_.core_->getCaptureDevice()) : QString();
}

QString LinphoneAudioTuning::ringerDevice() {
    return engine_.core_ ? fromStd(engine_.core_->getRingerDevice()) : QString();
}

void LinphoneAudioTuning::setDevices(const QString& playback, const QString& capture,
                                     const QString& ringer) {
    linphone::Core* core = engine_.core_.get();
    if (!core) return;
    if (!playback.isEmpty()) core->setPlaybackDevice(playback.toStdString());
    if (!capture.isEmpty()) core->setCaptureDevice(capture.toStdString());
    if (!ringer.isEmpty()) core->setRingerDevice(ringer.toStdString());
    core->getConfig()->sync();
}

void LinphoneAudioTuning::calibrateEchoCanceller(std::function<void(const QString&)> done) {
    listener_->done = std::move(done);
    linphone::Core* core = engine_.core_.get();
    if (core) {
        core->removeListener(listener_);  // added once, whatever the number of calibrations
        core->addListener(listener_);
        engine_.markBusy();  // the result comes from the engine's iterations
    }
    if ((!core || core->startEchoCancellerCalibration() != 0) && listener_->done)
        std::exchange(listener_->done, nullptr)(QObject::tr("Calibration failed"));
}

}  // namespace softphone
