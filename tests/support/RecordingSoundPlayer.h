#pragma once

#include <QStringList>

#include "dialer/SoundPlayer.h"

namespace softphone::test {

// Notes every sound asked for, as "tone Tone5.wav", "file <path>", "idle <path>", "stop".
class RecordingSoundPlayer : public ISoundPlayer {
public:
    void PlayTone(const QString& toneName) override { played << "tone " + toneName; }
    void PlayFile(const QString& path) override { played << "file " + path; }
    void PlayFileIfIdle(const QString& path) override { played << "idle " + path; }
    void Stop() override { played << QStringLiteral("stop"); }
    // Which output plays is heard only through a real player.
    void UseOutput(const QAudioDevice&) override {}
    QStringList played;
};

}  // namespace softphone::test
