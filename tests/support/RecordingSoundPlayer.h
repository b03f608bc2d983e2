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
    QStringList played;
};

}  // namespace softphone::test
