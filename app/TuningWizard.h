#pragma once

#include <QAudioDevice>
#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QAudioSink;
class QAudioSource;
class QBuffer;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace softphone {

struct AudioDevice {
    QString id;    // the engine's name for it
    QString name;  // what the desktop calls it
    bool canPlay = false;
    bool canRecord = false;
};

// The engine's sound devices and echo-canceller calibration, as the tuning wizard uses them.
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

// The audio tuning wizard: pick the playback, capture and ringer devices, watch the
// microphone's level, hear a test sound and calibrate the echo canceller. OK keeps the choice.
class TuningWizard : public QDialog {
    Q_OBJECT
public:
    TuningWizard(IAudioTuning& tuning, QWidget* owner);
    ~TuningWizard() override;

    // The microphone's latest peak level, 0 to 100.
    int microphoneLevel() const { return micLevel_; }
    void playTestSound();
    void calibrateEchoCanceller();

    QComboBox *playbackBox, *captureBox, *ringerBox;
    QProgressBar* barMicrophone;
    QPushButton *testSoundButton, *calibrateButton;
    QLabel* calibrationLabel;

    void accept() override;

private:
    void saveChoice();
    void fillDevices(QComboBox* box, bool playback, const QString& current);
    void listenToMicrophone();
    void readMicrophone();

    IAudioTuning& tuning_;
    std::vector<AudioDevice> devices_;
    std::unique_ptr<QAudioSource> source_;
    QIODevice* sourceIo_ = nullptr;
    std::unique_ptr<QAudioSink> sink_;
    std::unique_ptr<QBuffer> testSound_;
    int micLevel_ = 0;
};

// The desktop's device with this description, or the default one.
QAudioDevice findAudioDevice(const QList<QAudioDevice>& devices, const QString& name,
                             const QAudioDevice& fallback);

}  // namespace softphone
