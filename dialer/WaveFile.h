#pragma once

#include <QByteArray>
#include <optional>

namespace softphone {

// The one format every sound is played in: 8 kHz, mono, unsigned 8-bit centred on 128.
inline constexpr int kPlayRate = 8000;
inline constexpr char kSilence = char(0x80);

// The PCM contents of a RIFF/WAVE file.
struct PcmSound {
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;
    QByteArray data;
};

// Reads a PCM RIFF/WAVE file (8 or 16 bits, any rate and channel count); nullopt if it is not one.
std::optional<PcmSound> parseWave(const QByteArray& file);

// A complete RIFF/WAVE file holding 8 kHz mono 8-bit samples.
QByteArray makeWave(const QByteArray& samples);

// `sound` in the play format: channels mixed, each output sample the mean of the input samples it
// covers (a simple low-pass against aliasing when the rate drops).
QByteArray toPlayFormat(const PcmSound& sound);

}  // namespace softphone
