#pragma once

#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace softphone::test {

// Amplitude (in sample units) of the `hz` component of unsigned 8-bit samples, by Goertzel.
inline double toneAmplitude(const char* samples, qsizetype count, double hz, int rate = 8000) {
    const double coeff = 2 * std::cos(2 * std::numbers::pi * hz / rate);
    double s1 = 0, s2 = 0;
    for (qsizetype i = 0; i < count; ++i)
        s2 = std::exchange(s1, (quint8(samples[i]) - 128) + coeff * s1 - s2);
    return 2 * std::sqrt(std::max(s1 * s1 + s2 * s2 - coeff * s1 * s2, 0.0)) / double(count);
}

// A stretch of a recording in which one DTMF key sounds (positions in samples).
struct HeardTone {
    char key;
    qsizetype start, length;
};

// Names the DTMF key tones in 8 kHz unsigned 8-bit samples, by Goertzel filters at the eight
// DTMF frequencies over 20 ms windows (50 Hz resolution separates the rows) every 5 ms.
inline std::vector<HeardTone> hearTones(const QByteArray& samples) {
    constexpr qsizetype kWindow = 160, kHop = 40;
    // Index of the strongest of four frequencies, or -1 when it is weak or not clearly alone.
    // Each sine of a key tone has amplitude 32; a window counts when most of it holds the tone.
    const auto strongest = [](const char* at, std::array<int, 4> group) {
        std::array<double, 4> a;
        for (int i = 0; i < 4; ++i) a[i] = toneAmplitude(at, kWindow, group[i]);
        const auto top = std::max_element(a.begin(), a.end());
        const auto loud = std::count_if(a.begin(), a.end(), [&](double x) { return x > *top / 2; });
        return *top < 12 || loud > 1 ? -1 : int(top - a.begin());
    };
    std::vector<HeardTone> tones;
    char previous = 0;  // the key of the window before
    for (qsizetype at = 0; at + kWindow <= samples.size(); at += kHop) {
        const int row = strongest(samples.constData() + at, {697, 770, 852, 941});
        const int column = strongest(samples.constData() + at, {1209, 1336, 1477, 1633});
        const char key = row < 0 || column < 0 ? 0 : "123A456B789C*0#D"[4 * row + column];
        if (key && key != previous) tones.push_back({key, at, 0});
        if (key) tones.back().length = at + kWindow - tones.back().start;
        previous = key;
    }
    return tones;
}

// The keys heard, in order, one character per stretch.
inline QString keysOf(const std::vector<HeardTone>& tones) {
    QString keys;
    for (const HeardTone& t : tones) keys += QLatin1Char(t.key);
    return keys;
}

// The first sample at or after `from` that differs from the centre by more than `threshold`;
// -1 if the rest is silence.
inline qsizetype firstSound(const QByteArray& samples, qsizetype from, int threshold = 8) {
    for (qsizetype i = std::max<qsizetype>(from, 0); i < samples.size(); ++i)
        if (std::abs(quint8(samples[i]) - 128) > threshold) return i;
    return -1;
}

}  // namespace softphone::test
