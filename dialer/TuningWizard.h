#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "dialer/AudioTuning.h"

class QAudioSink;
class QAudioSource;
class QBuffer;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace softphone {

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

}  // namespace softphone
