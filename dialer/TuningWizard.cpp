#include "dialer/TuningWizard.h"

#include <QAudioSink>
#include <QAudioSource>
#include <QBuffer>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMediaDevices>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtEndian>
#include <cmath>

#include "dialer/SoundPlayer.h"

namespace softphone {
namespace {

constexpr int kRate = 16000;
constexpr double kPi = 3.14159265358979;

QAudioFormat monoFormat() {
    QAudioFormat format;
    format.setSampleRate(kRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

// Two short rising notes, loud enough to judge the playback level by.
QByteArray testSoundSamples() {
    QByteArray samples;
    const double notes[] = {660.0, 880.0};
    const int noteLength = kRate * 35 / 100;
    samples.resize(2 * noteLength * 2);
    auto* out = reinterpret_cast<qint16*>(samples.data());
    for (int n = 0; n < 2; ++n) {
        for (int i = 0; i < noteLength; ++i) {
            const double t = double(i) / kRate;
            const double envelope = std::min(1.0, t / 0.01) * std::exp(-t / 0.12);
            *out++ = qToLittleEndian(qint16(12000 * envelope * std::sin(2 * kPi * notes[n] * t)));
        }
    }
    return samples;
}

}  // namespace

TuningWizard::TuningWizard(IAudioTuning& tuning, QWidget* owner)
    : QDialog(owner), tuning_(tuning), devices_(tuning.devices()) {
    setWindowTitle(tr("Audio Tuning Wizard"));
    setModal(true);

    playbackBox = new QComboBox(this);
    captureBox = new QComboBox(this);
    ringerBox = new QComboBox(this);
    fillDevices(playbackBox, true, tuning_.playbackDevice());
    fillDevices(captureBox, false, tuning_.captureDevice());
    fillDevices(ringerBox, true, tuning_.ringerDevice());

    barMicrophone = new QProgressBar(this);
    barMicrophone->setRange(0, 100);
    barMicrophone->setTextVisible(false);
    testSoundButton = new QPushButton(tr("Play test sound"), this);
    calibrateButton = new QPushButton(tr("Calibrate echo canceller"), this);
    calibrationLabel = new QLabel(this);

    auto* form = new QFormLayout;
    form->addRow(tr("Speaker:"), playbackBox);
    form->addRow(QString(), testSoundButton);
    form->addRow(tr("Microphone:"), captureBox);
    form->addRow(tr("Level:"), barMicrophone);
    form->addRow(tr("Ringer:"), ringerBox);
    form->addRow(calibrateButton, calibrationLabel);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &TuningWizard::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TuningWizard::reject);
    connect(testSoundButton, &QPushButton::clicked, this, &TuningWizard::playTestSound);
    connect(calibrateButton, &QPushButton::clicked, this, &TuningWizard::calibrateEchoCanceller);
    connect(captureBox, &QComboBox::currentIndexChanged, this, &TuningWizard::listenToMicrophone);
    listenToMicrophone();
}

TuningWizard::~TuningWizard() {
    if (source_) source_->stop();
    if (sink_) retireSink(sink_.release());
}

void TuningWizard::fillDevices(QComboBox* box, bool playback, const QString& current) {
    for (const AudioDevice& device : devices_) {
        if (playback ? !device.canPlay : !device.canRecord) continue;
        box->addItem(device.name, device.id);
        if (device.id == current) box->setCurrentIndex(box->count() - 1);
    }
}

void TuningWizard::listenToMicrophone() {
    if (source_) source_->stop();
    micLevel_ = 0;
    barMicrophone->setValue(0);
    const QAudioDevice device =
        findAudioDevice(QMediaDevices::audioInputs(), captureBox->currentText(),
                        QMediaDevices::defaultAudioInput());
    if (device.isNull()) return;
    source_ = std::make_unique<QAudioSource>(device, monoFormat());
    source_->setBufferSize(kRate / 10);  // about 50 ms: the meter follows the voice closely
    sourceIo_ = source_->start();
    if (sourceIo_) connect(sourceIo_, &QIODevice::readyRead, this, &TuningWizard::readMicrophone);
}

void TuningWizard::readMicrophone() {
    const QByteArray data = sourceIo_->readAll();
    const auto* samples = reinterpret_cast<const qint16*>(data.constData());
    int peak = 0;
    for (qsizetype i = 0; i < data.size() / 2; ++i)
        peak = std::max(peak, std::abs(int(qFromLittleEndian(samples[i]))));
    micLevel_ = std::min(100, peak * 100 / 32767);
    barMicrophone->setValue(micLevel_);
}

void TuningWizard::playTestSound() {
    if (sink_) retireSink(sink_.release());
    const QAudioDevice device =
        findAudioDevice(QMediaDevices::audioOutputs(), playbackBox->currentText(),
                        QMediaDevices::defaultAudioOutput());
    testSound_ = std::make_unique<QBuffer>();
    testSound_->setData(testSoundSamples());
    testSound_->open(QIODevice::ReadOnly);
    sink_ = std::make_unique<QAudioSink>(device, monoFormat());
    sink_->start(testSound_.get());
}

void TuningWizard::calibrateEchoCanceller() {
    // The calibration runs on the devices shown, so they are chosen first.
    saveChoice();
    calibrateButton->setEnabled(false);
    calibrationLabel->setText(tr("Measuring..."));
    QPointer<TuningWizard> self(this);
    tuning_.calibrateEchoCanceller([self](const QString& result) {
        if (!self) return;
        self->calibrationLabel->setText(result);
        self->calibrateButton->setEnabled(true);
    });
}

void TuningWizard::saveChoice() {
    tuning_.setDevices(playbackBox->currentData().toString(), captureBox->currentData().toString(),
                       ringerBox->currentData().toString());
}

void TuningWizard::accept() {
    saveChoice();
    QDialog::accept();
}

}  // namespace softphone
