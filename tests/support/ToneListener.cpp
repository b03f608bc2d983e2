#include "tests/support/ToneListener.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace softphone::test {

namespace {

constexpr std::array<int, 4> kLowHz{697, 770, 852, 941};
constexpr std::array<int, 4> kHighHz{1209, 1336, 1477, 1633};
constexpr char kKeys[4][4] = {
    {'1', '2', '3', 'A'}, {'4', '5', '6', 'B'}, {'7', '8', '9', 'C'}, {'*', '0', '#', 'D'}};
constexpr qsizetype kWindow = 160;  // 20 ms: 50 Hz resolution separates the DTMF rows
constexpr qsizetype kHop = 40;
// Each sine of a key tone has amplitude 32; a window counts when most of it holds the tone.
constexpr double kPresentAmplitude = 12;

// Index of the strongest frequency of a group, or -1 when it is weak or not clearly alone.
template <size_t N>
int Strongest(const char* samples, const std::array<int, N>& group) {
    std::array<double, N> a{};
    for (size_t i = 0; i < N; ++i) a[i] = ToneAmplitude(samples, kWindow, group[i]);
    const auto best = std::max_element(a.begin(), a.end());
    if (*best < kPresentAmplitude) return -1;
    for (auto it = a.begin(); it != a.end(); ++it)
        if (it != best && *it > *best / 2) return -1;
    return int(best - a.begin());
}

}  // namespace

double ToneAmplitude(const char* samples, qsizetype count, double hz, int rate) {
    const double coeff = 2 * std::cos(2 * std::numbers::pi * hz / rate);
    double s1 = 0, s2 = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const double s = (quint8(samples[i]) - 128) + coeff * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    return 2 * std::sqrt(std::max(power, 0.0)) / double(count);
}

std::vector<HeardTone> HearTones(const QByteArray& samples) {
    std::vector<HeardTone> tones;
    bool extending = false;
    for (qsizetype at = 0; at + kWindow <= samples.size(); at += kHop) {
        const int row = Strongest(samples.constData() + at, kLowHz);
        const int column = Strongest(samples.constData() + at, kHighHz);
        if (row < 0 || column < 0) {
            extending = false;
            continue;
        }
        const char key = kKeys[row][column];
        if (extending && tones.back().key == key) {
            tones.back().length = at + kWindow - tones.back().start;
        } else {
            tones.push_back({key, at, kWindow});
        }
        extending = true;
    }
    return tones;
}

QString KeysOf(const std::vector<HeardTone>& tones) {
    QString keys;
    for (const HeardTone& t : tones) keys += QLatin1Char(t.key);
    return keys;
}

qsizetype FirstSound(const QByteArray& samples, qsizetype from, int threshold) {
    for (qsizetype i = std::max<qsizetype>(from, 0); i < samples.size(); ++i)
        if (std::abs(quint8(samples[i]) - 128) > threshold) return i;
    return -1;
}

}  // namespace softphone::test
