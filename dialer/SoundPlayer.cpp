#include "dialer/SoundPlayer.h"

#include <QApplication>
#include <QAudioSink>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "dialer/KeyTones.h"
#include "dialer/WaveFile.h"

namespace softphone {

namespace {

// 100 ms: the dialling pace. A larger buffer delays tones, a smaller one underruns.
constexpr int kSinkBufferBytes = 800;
// Written before each tone so that its start is not clipped when the stream wakes.
constexpr int kToneLeadInBytes = kPlayRate * 20 / 1000;
// How often queued sound is topped up while it does not fit into the stream's buffer.
constexpr int kFeedIntervalMs = 20;
// Longer than any stream's buffer takes to play out: by then a drain has been answered.
constexpr int kRetireAfterMs = 2000;

}  // namespace

// Lives in the player's thread; all its work runs there.
class SinkWorker : public QObject {
public:
    // The timers are children, so they move to the player's thread with the worker.
    explicit SinkWorker(int suspendAfterMs) : suspendAfterMs_(suspendAfterMs) {
        clock_.start();
        feedTimer_ = new QTimer(this);
        feedTimer_->setInterval(kFeedIntervalMs);
        connect(feedTimer_, &QTimer::timeout, this, [this] { feed(); });
        suspendTimer_ = new QTimer(this);
        suspendTimer_->setSingleShot(true);
        connect(suspendTimer_, &QTimer::timeout, this, [this] { closeStream(); });
    }

    void open(const QAudioDevice& output) {
        output_ = output;
        openStream();
    }

    // The next sound plays on `output`.
    void useOutput(const QAudioDevice& output) {
        if (output == output_) return;
        closeStream();
        output_ = output;
    }

    void close() {
        suspendTimer_->stop();
        closeStream();
    }

    void play(const QByteArray& samples, bool onlyIfIdle) {
        if (onlyIfIdle && playing()) return;
        // A stream whose sound server went away is replaced: the server may be back.
        if (sink_ && sink_->state() == QAudio::StoppedState) closeStream();
        if (!sink_) openStream();
        if (!device_) return;
        queued_ = samples;
        suspendTimer_->stop();
        feed();
    }

    void stop() {
        queued_.clear();
        feedTimer_->stop();
    }

private:
    void openStream() {
        QAudioFormat format;
        format.setSampleRate(kPlayRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::UInt8);
        sink_ = new QAudioSink(output_.isNull() ? QMediaDevices::defaultAudioOutput() : output_,
                               format, this);
        sink_->setBufferSize(kSinkBufferBytes);
        device_ = sink_->start();
        // A stream that has never played is as silent as one that has stopped playing.
        if (suspendAfterMs_ >= 0) suspendTimer_->start(suspendAfterMs_);
    }

    // Even a paused stream keeps the sound server working at the stream's latency: a silent
    // player holds none.
    void closeStream() {
        stop();
        device_ = nullptr;
        if (sink_) retireSink(std::exchange(sink_, nullptr));
    }

    bool playing() const { return !queued_.isEmpty() || clock_.elapsed() < playsUntilMs_; }

    void feed() {
        // A stream that stopped (its sound server went away) has nothing left to ask.
        if (!sink_ || sink_->state() == QAudio::StoppedState) {
            stop();
            return;
        }
        const qsizetype room = std::min<qsizetype>(sink_->bytesFree(), queued_.size());
        const qint64 written = room > 0 ? device_->write(queued_.constData(), room) : 0;
        if (written > 0) {
            queued_.remove(0, written);
            playsUntilMs_ = std::max(playsUntilMs_, clock_.elapsed()) + written * 1000 / kPlayRate;
        }
        if (!queued_.isEmpty()) {
            if (!feedTimer_->isActive()) feedTimer_->start();
            return;
        }
        feedTimer_->stop();
        if (suspendAfterMs_ >= 0)
            suspendTimer_->start(int(playsUntilMs_ - clock_.elapsed()) + suspendAfterMs_);
    }

    const int suspendAfterMs_;
    QAudioDevice output_;  // null: the default output
    QAudioSink* sink_ = nullptr;
    QIODevice* device_ = nullptr;
    QTimer* feedTimer_ = nullptr;
    QTimer* suspendTimer_ = nullptr;
    QByteArray queued_;
    QElapsedTimer clock_;
    qint64 playsUntilMs_ = 0;
};

void retireSink(QAudioSink* sink) {
    sink->stop();
    sink->setParent(nullptr);
    QTimer::singleShot(kRetireAfterMs, sink, &QObject::deleteLater);
}

SoundPlayer::SoundPlayer(int suspendAfterMs) : worker_(new SinkWorker(suspendAfterMs)) {
    for (size_t i = 0; i < kKeyTable.size(); ++i) {
        const auto tone = parseWave(keyToneWave(kKeyTable[i]));
        tones_[i] = QByteArray(kToneLeadInBytes, kSilence) + toPlayFormat(*tone);
    }
    worker_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("SoundPlayer"));
    thread_.start();
    QMetaObject::invokeMethod(
        worker_, [w = worker_] { w->open(QAudioDevice()); }, Qt::QueuedConnection);
}

SoundPlayer::~SoundPlayer() {
    QMetaObject::invokeMethod(
        worker_, [w = worker_] { w->close(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

void SoundPlayer::playTone(const QString& toneName) {
    if (const DialKey* key = keyForToneResource(toneName))
        play(tones_[size_t(key - kKeyTable.data())], false);
}

void SoundPlayer::playFile(const QString& path) { playFile(path, false); }

void SoundPlayer::playFileIfIdle(const QString& path) { playFile(path, true); }

void SoundPlayer::playFile(const QString& path, bool onlyIfIdle) {
    auto loaded = files_.constFind(path);
    if (loaded == files_.constEnd()) {
        QFile file(path);
        const auto sound =
            file.open(QIODevice::ReadOnly) ? parseWave(file.readAll()) : std::nullopt;
        if (!sound) {
            QApplication::beep();
            return;
        }
        loaded = files_.insert(path, toPlayFormat(*sound));
    }
    play(*loaded, onlyIfIdle);
}

void SoundPlayer::play(const QByteArray& samples, bool onlyIfIdle) {
    QMetaObject::invokeMethod(
        worker_, [w = worker_, samples, onlyIfIdle] { w->play(samples, onlyIfIdle); },
        Qt::QueuedConnection);
}

void SoundPlayer::stop() {
    QMetaObject::invokeMethod(
        worker_, [w = worker_] { w->stop(); }, Qt::QueuedConnection);
}

void SoundPlayer::useOutput(const QAudioDevice& output) {
    QMetaObject::invokeMethod(
        worker_, [w = worker_, output] { w->useOutput(output); }, Qt::QueuedConnection);
}

}  // namespace softphone
