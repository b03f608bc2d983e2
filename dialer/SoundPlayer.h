#pragma once

#include <QAudioDevice>
#include <QHash>
#include <QString>
#include <QThread>
#include <array>

#include "dialer/KeyTable.h"

class QAudioSink;

namespace softphone {

// Plays the program's sounds in the background: key tones, the phone ring, the release sound.
// Every call returns at once; the sound goes on playing while the caller blocks.
class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // The key tone named `toneName` ("Tone5.wav", matched without regard to case), cutting off
    // what is still queued of the sound before; an unknown name plays nothing.
    virtual void playTone(const QString& toneName) = 0;
    // A WAV file, cutting off what is still queued; a file that cannot be played gives the
    // desktop's default beep.
    virtual void playFile(const QString& path) = 0;
    // As PlayFile, but plays nothing while another sound plays.
    virtual void playFileIfIdle(const QString& path) = 0;
    // Silences the sound that plays.
    virtual void stop() = 0;
    // Plays on `output` from now on (a null device: the desktop's default output).
    virtual void useOutput(const QAudioDevice& output) = 0;
};

class SinkWorker;

// Stops `sink` and deletes it once the sound server can no longer call it. Qt 6.4's PulseAudio
// sink asks the server to drain its stream each time the stream runs dry and leaves that request
// pointing at itself when stopped: a sink deleted at once may be called after its end. A sink
// retired as the program ends is left to the exit.
void retireSink(QAudioSink* sink);

// The player over one audio output stream, opened at construction on the default output and kept
// open until another output is chosen, owned by a thread of its own so that sounds never wait
// for the UI thread.
class SoundPlayer : public ISoundPlayer {
public:
    static constexpr int kDefaultSuspendAfterMs = 5000;

    // The stream is closed after `suspendAfterMs` of silence (it costs CPU here and in the sound
    // server while it is open) and opened again by the next sound; a negative value keeps it.
    explicit SoundPlayer(int suspendAfterMs = kDefaultSuspendAfterMs);
    ~SoundPlayer() override;

    void playTone(const QString& toneName) override;
    void playFile(const QString& path) override;
    void playFileIfIdle(const QString& path) override;
    void stop() override;
    void useOutput(const QAudioDevice& output) override;

private:
    void playFile(const QString& path, bool onlyIfIdle);
    void play(const QByteArray& samples, bool onlyIfIdle);

    QThread thread_;
    SinkWorker* worker_;
    std::array<QByteArray, kKeyTable.size()> tones_;  // silence lead-in + tone, as written
    QHash<QString, QByteArray> files_;                // loaded files in the play format
};

}  // namespace softphone
