#include "dialer/KeyTones.h"

#include <cmath>
#include <numbers>

#include "dialer/WaveFile.h"

namespace softphone {

namespace {

constexpr double kAmplitude = 32.0;  // each sine; the pair peaks near 64

}  // namespace

QByteArray keyToneWave(const DialKey& key) {
    QByteArray samples(kToneSamples, kSilence);
    for (int i = 0; i < kToneSamples; ++i) {
        const double t = double(i) / kPlayRate;
        const double v = std::sin(2 * std::numbers::pi * key.lowHz * t) +
                         std::sin(2 * std::numbers::pi * key.highHz * t);
        samples[i] = char(std::lround(128 + kAmplitude * v));
    }
    return makeWave(samples);
}

}  // namespace softphone
