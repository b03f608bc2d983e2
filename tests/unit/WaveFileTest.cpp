// Sound files converted to the play format, and files that are not PCM wave refused. (The key
// tones and the ring are heard through a real sound server in SoundPlayerTest.)
#include <gtest/gtest.h>

#include <QtEndian>
#include <cmath>
#include <numbers>

#include "dialer/WaveFile.h"
#include "tests/support/ToneListener.h"

namespace softphone {
namespace {

TEST(WaveFile, SixteenBitStereoIsPlayedAtItsPitchAndWhatIsNotPcmWaveIsRefused) {
    // Half a second of a 440 Hz sine of amplitude 0.5 on both channels, 16 bits at 44.1 kHz.
    const int rate = 44100;
    QByteArray samples(rate * 2, '\0');
    for (int at = 0; at < samples.size(); at += 2)  // each 16-bit sample, 4 bytes a frame
        qToLittleEndian(
            qint16(std::lround(16384 * std::sin(2 * std::numbers::pi * 440 * (at / 4) / rate))),
            samples.data() + at);
    const QByteArray played = toPlayFormat({rate, 2, 16, samples});
    EXPECT_EQ(played.size(), 4000);
    EXPECT_NEAR(test::toneAmplitude(played.constData(), played.size(), 440), 64, 4);
    EXPECT_LT(test::toneAmplitude(played.constData(), played.size(), 1000), 2);

    QList<QByteArray> files = {QByteArray(), "RIFF1234WAVX", makeWave({}).left(36)};  // no data
    // A good file made IEEE float, 12 bits, or 1 Hz (80,000 bytes to play; the rate's high
    // half is 0 already).
    for (auto [offset, value] : {std::pair{20, 3}, {34, 12}, {24, 1}}) {
        files << makeWave(QByteArray(10, kSilence));
        qToLittleEndian<quint16>(value, files.last().data() + offset);
    }
    for (const QByteArray& file : files)
        EXPECT_FALSE(parseWave(file)) << file.left(16).toHex().constData();
}

}  // namespace
}  // namespace softphone
