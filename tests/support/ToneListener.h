#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace softphone::test {

// Amplitude (in sample units) of the `hz` component of unsigned 8-bit samples, by Goertzel.
double ToneAmplitude(const char* samples, qsizetype count, double hz, int rate = 8000);

// A stretch of a recording in which one DTMF key sounds (positions in samples).
struct HeardTone {
    char key;
    qsizetype start, length;
};

// Names the DTMF key tones in 8 kHz unsigned 8-bit samples, by Goertzel filters at the eight
// DTMF frequencies over short sliding windows.
std::vector<HeardTone> HearTones(const QByteArray& samples);

// The keys heard, in order, one character per stretch.
QString KeysOf(const std::vector<HeardTone>& tones);

// The first sample at or after `from` that differs from the centre by more than `threshold`;
// -1 if the rest is silence.
qsizetype FirstSound(const QByteArray& samples, qsizetype from, int threshold = 8);

}  // namespace softphone::test
