// The tuning wizard's side of the engine: sound devices and echo-canceller calibration.
#include <QMediaDevices>
#include <linphone++/linphone.hh>

#include "app/LinphoneEngine.h"
#include "app/TuningWizard.h"
#include "dialer/SoundPlayer.h"

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

class CalibrationListener : public linphone::CoreListener {
public:
    std::function<void(const QString&)> done;

    void onEcCalibrationResult(const std::shared_ptr<linphone::Core>&,
                               linphone::EcCalibratorStatus status, int delayMs) override {
        const QString text = calibrationText(status, delayMs);
        if (text.isEmpty() || !done) return;
        // Reported once; the callback may end the wizard.
        auto report = std::move(done);
        done = nullptr;
        report(text);
    }
};

class LinphoneAudioTuning : public IAudioTuning {
public:
    explicit LinphoneAudioTuning(std::shared_ptr<linphone::Core> core)
        : core_(std::move(core)), listener_(std::make_shared<CalibrationListener>()) {
        core_->addListener(listener_);
    }
    ~LinphoneAudioTuning() override { core_->removeListener(listener_); }

    std::vector<AudioDevice> devices() override {
        using Cap = linphone::AudioDevice::Capabilities;
        std::vector<AudioDevice> devices;
        for (const auto& d : core_->getExtendedAudioDevices()) {
            const int caps = int(d->getCapabilities());
            devices.push_back({fromStd(d->getId()), fromStd(d->getDeviceName()),
                               (caps & int(Cap::CapabilityPlay)) != 0,
                               (caps & int(Cap::CapabilityRecord)) != 0});
        }
        return devices;
    }

    QString playbackDevice() override { return fromStd(core_->getPlaybackDevice()); }
    QString captureDevice() override { return fromStd(core_->getCaptureDevice()); }
    QString ringerDevice() override { return fromStd(core_->getRingerDevice()); }

    void setDevices(const QString& playback, const QString& capture,
                    const QString& ringer) override {
        if (!playback.isEmpty()) core_->setPlaybackDevice(playback.toStdString());
        if (!capture.isEmpty()) core_->setCaptureDevice(capture.toStdString());
        if (!ringer.isEmpty()) core_->setRingerDevice(ringer.toStdString());
        core_->getConfig()->sync();
    }

    void calibrateEchoCanceller(std::function<void(const QString&)> done) override {
        listener_->done = std::move(done);
        if (core_->startEchoCancellerCalibration() != 0 && listener_->done)
            std::exchange(listener_->done, nullptr)(QObject::tr("Calibration failed"));
    }

private:
    std::shared_ptr<linphone::Core> core_;
    std::shared_ptr<CalibrationListener> listener_;
};

// The desktop's output that the engine's device `id` stands for, found by the engine's name for
// it (PulseAudio devices are named by their description); null, the default output, when none.
QAudioDevice desktopOutput(const std::vector<AudioDevice>& devices, const QString& id) {
    for (const AudioDevice& device : devices)
        if (device.id == id)
            return findAudioDevice(QMediaDevices::audioOutputs(), device.name, QAudioDevice());
    return QAudioDevice();
}

}  // namespace

void LinphoneEngine::useChosenOutputs() {
    LinphoneAudioTuning tuning(core_);
    const std::vector<AudioDevice> devices = tuning.devices();
    speaker_.useOutput(desktopOutput(devices, tuning.playbackDevice()));
    ringer_.useOutput(desktopOutput(devices, tuning.ringerDevice()));
}

void LinphoneEngine::runTuningWizard(QWidget* owner) {
    if (!core_) throw EngineError(EngineFailure::NoWizard, QStringLiteral("Engine not started"));
    LinphoneAudioTuning tuning(core_);
    if (tuning.devices().empty())
        throw EngineError(EngineFailure::NoWizard, QStringLiteral("No sound devices"));
    markBusy();  // calibration results come from the engine's iterations
    TuningWizard wizard(tuning, owner);
    wizard.exec();
    // Calibrating keeps the choice too, so it counts also after Cancel.
    useChosenOutputs();
}

}  // namespace softphone
