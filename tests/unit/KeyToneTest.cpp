// The dial pad's key table, the generated key-tone sounds and the conversion of sound files.
#include <gtest/gtest.h>

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "dialer/KeyTable.h"
#include "dialer/KeyTones.h"
#include "dialer/WaveFile.h"
#include "tests/support/ToneListener.h"

namespace softphone {
namespace {

using test::ToneAmplitude;

constexpr int kDtmfHz[] = {697, 770, 852, 941, 1209, 1336, 1477, 1633};

struct ExpectedKey {
    int code;
    const char* control;
    const char* toneName;
    int dtmf, lowHz, highHz;
};

// The dial pad as the user sees it, written out independently of the code's table.
const ExpectedKey kExpected[] = {
    {49, "dialKey1", "Tone1.wav", 1, 697, 1209}, {50, "dialKey2", "Tone2.wav", 2, 697, 1336},
    {51, "dialKey3", "Tone3.wav", 3, 697, 1477}, {52, "dialKey4", "Tone4.wav", 4, 770, 1209},
    {53, "dialKey5", "Tone5.wav", 5, 770, 1336}, {54, "dialKey6", "Tone6.wav", 6, 770, 1477},
    {55, "dialKey7", "Tone7.wav", 7, 852, 1209}, {56, "dialKey8", "Tone8.wav", 8, 852, 1336},
    {57, "dialKey9", "Tone9.wav", 9, 852, 1477}, {42, "dialKeyStar", "Tonestar.wav", 10, 941, 1209},
    {48, "dialKey0", "Tone0.wav", 0, 941, 1336}, {35, "dialKeyPound", "Tonepnd.wav", 11, 941, 1477},
};

quint16 U16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 U32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

TEST(KeyTable, RowsInReadingOrderAndLookups) {
    ASSERT_EQ(std::size(kExpected), kKeyTable.size());
    for (size_t i = 0; i < kKeyTable.size(); ++i) {
        const DialKey& key = kKeyTable[i];
        const ExpectedKey& want = kExpected[i];
        SCOPED_TRACE(want.toneName);
        EXPECT_EQ(want.code, int(key.key));
        EXPECT_STREQ(want.control, key.control);
        EXPECT_STREQ(want.toneName, key.toneName);
        EXPECT_EQ(want.dtmf, key.dtmfCode);
        EXPECT_EQ(want.lowHz, key.lowHz);
        EXPECT_EQ(want.highHz, key.highHz);
        EXPECT_EQ(&key, KeyForCharacter(QChar(want.code)));
        EXPECT_EQ(&key, KeyForToneName(QString::fromLatin1(want.toneName)));
        EXPECT_EQ(&key, KeyForToneResource(QString::fromLatin1(want.toneName).toUpper()));
    }
}

TEST(KeyTable, ToneNamesSendDtmfOnlyWhenExact) {
    EXPECT_EQ(nullptr, KeyForToneName("tone5.wav"));
    EXPECT_EQ(nullptr, KeyForToneName("TONESTAR.WAV"));
    EXPECT_EQ(nullptr, KeyForToneName("Tone10.wav"));
    EXPECT_EQ(nullptr, KeyForToneName(""));
    EXPECT_EQ(nullptr, KeyForCharacter('a'));
    EXPECT_EQ(nullptr, KeyForCharacter('+'));
}

TEST(KeyTones, ExactWaveFilesWithTheKeysFrequencyPair) {
    for (const ExpectedKey& want : kExpected) {
        SCOPED_TRACE(want.toneName);
        const QByteArray wave = KeyToneResource(want.toneName);
        ASSERT_EQ(684, wave.size());
        EXPECT_EQ("RIFF", wave.left(4));
        EXPECT_EQ(676u, U32(wave, 4));
        EXPECT_EQ("WAVEfmt ", wave.mid(8, 8));
        EXPECT_EQ(16u, U32(wave, 16));
        EXPECT_EQ(1, U16(wave, 20));      // PCM
        EXPECT_EQ(1, U16(wave, 22));      // mono
        EXPECT_EQ(8000u, U32(wave, 24));  // samples per second
        EXPECT_EQ(8000u, U32(wave, 28));  // bytes per second
        EXPECT_EQ(1, U16(wave, 32));      // block align
        EXPECT_EQ(8, U16(wave, 34));      // bits per sample
        EXPECT_EQ("data", wave.mid(36, 4));
        EXPECT_EQ(640u, U32(wave, 40));

        const QByteArray samples = wave.mid(44);
        const auto [low, high] = std::minmax_element(
            samples.begin(), samples.end(), [](char a, char b) { return quint8(a) < quint8(b); });
        EXPECT_NEAR(64, quint8(*high) - 128, 4);
        EXPECT_NEAR(64, 128 - quint8(*low), 4);
        for (int hz : kDtmfHz) {
            const double amplitude = ToneAmplitude(samples.constData(), samples.size(), hz);
            if (hz == want.lowHz || hz == want.highHz)
                EXPECT_NEAR(32, amplitude, 3) << hz << " Hz";
            else
                EXPECT_GT(4, amplitude) << hz << " Hz";
        }
    }
}

TEST(KeyTones, UnknownNamesHaveNoSound) {
    EXPECT_TRUE(KeyToneResource("Tone10.wav").isEmpty());
    EXPECT_TRUE(KeyToneResource("DTMF.WAV").isEmpty());
}

// 16-bit stereo at 44.1 kHz, a 440 Hz sine of amplitude 0.5 on both channels.
QByteArray Stereo16BitWave(double seconds) {
    const int rate = 44100, frames = int(seconds * rate);
    QByteArray data;
    for (int i = 0; i < frames; ++i) {
        const qint16 v =
            qint16(std::lround(16384 * std::sin(2 * std::numbers::pi * 440 * i / rate)));
        char b[2];
        qToLittleEndian(v, b);
        data.append(b, 2).append(b, 2);
    }
    QByteArray wave = MakeWave(data);
    qToLittleEndian<quint16>(2, wave.data() + 22);         // channels
    qToLittleEndian<quint32>(rate, wave.data() + 24);      // samples per second
    qToLittleEndian<quint32>(rate * 4, wave.data() + 28);  // bytes per second
    qToLittleEndian<quint16>(4, wave.data() + 32);         // block align
    qToLittleEndian<quint16>(16, wave.data() + 34);        // bits per sample
    return wave;
}

TEST(WaveFile, FilesAreConvertedToThePlayFormat) {
    const auto sound = ParseWave(Stereo16BitWave(0.5));
    ASSERT_TRUE(sound);
    const QByteArray played = ToPlayFormat(*sound);
    EXPECT_EQ(4000, played.size());
    EXPECT_NEAR(64, ToneAmplitude(played.constData(), played.size(), 440), 4);
    EXPECT_GT(2, ToneAmplitude(played.constData(), played.size(), 1000));

    QFile ring("/usr/share/sounds/linphone/rings/oldphone-mono.wav");
    ASSERT_TRUE(ring.open(QIODevice::ReadOnly));
    const auto ringSound = ParseWave(ring.readAll());
    ASSERT_TRUE(ringSound);
    EXPECT_EQ(78038 * 8000 / 44100, ToPlayFormat(*ringSound).size());
}

TEST(WaveFile, RejectsWhatIsNotPcmWave) {
    QByteArray notPcm = MakeWave(QByteArray(10, kSilence));
    qToLittleEndian<quint16>(3, notPcm.data() + 20);  // IEEE float
    QByteArray noData = MakeWave({}).left(36);
    for (const QByteArray& file : {QByteArray(), QByteArray("RIFF1234WAVX"), notPcm, noData})
        EXPECT_FALSE(ParseWave(file)) << file.left(16).toHex().constData();
}

TEST(ToneListener, NamesEveryKeyTone) {
    for (const DialKey& key : kKeyTable) {
        const auto heard = test::HearTones(KeyToneResource(key.toneName).mid(44));
        ASSERT_EQ(1u, heard.size()) << key.toneName;
        EXPECT_EQ(key.key, heard.front().key);
    }
}

}  // namespace
}  // namespace softphone
