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

TEST(WaveFile, SixteenBitStereoIsPlayedAtItsPitch) {
    // Half a second of a 440 Hz sine of amplitude 0.5 on both channels, 16 bits at 44.1 kHz.
    const int rate = 44100;
    QByteArray samples;
    for (int i = 0; i < rate / 2; ++i) {
        char b[2];
        qToLittleEndian(
            qint16(std::lround(16384 * std::sin(2 * std::numbers::pi * 440 * i / rate))), b);
        samples.append(b, 2).append(b, 2);
    }
    const PcmSound sound{rate, 2, 16, samples};
    const QByteArray played = toPlayFormat(sound);
    EXPECT_EQ(played.size(), 4000);
    EXPECT_NEAR(test::toneAmplitude(played.constData(), played.size(), 440), 64, 4);
    EXPECT_LT(test::toneAmplitude(played.constData(), played.size(), 1000), 2);
}

TEST(WaveFile, RejectsWhatIsNotPcmWave) {
    QByteArray notPcm = makeWave(QByteArray(10, kSilence));
    qToLittleEndian<quint16>(3, notPcm.data() + 20);  // IEEE float
    QByteArray twelveBits = makeWave(QByteArray(10, kSilence));
    qToLittleEndian<quint16>(12, twelveBits.data() + 34);
    QByteArray oneHertz = makeWave(QByteArray(10, kSilence));  // 80,000 bytes to play
    qToLittleEndian<quint32>(1, oneHertz.data() + 24);
    const QByteArray noData = makeWave({}).left(36);
    for (const QByteArray& file :
         {QByteArray(), QByteArray("RIFF1234WAVX"), notPcm, twelveBits, oneHertz, noData})
        EXPECT_FALSE(parseWave(file)) << file.left(16).toHex().constData();
}

}  // namespace
}  // namespace softphone
