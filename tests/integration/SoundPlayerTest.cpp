// The real sound player on a private PulseAudio null sink, heard through the sink's monitor; the
// test thread sleeps while sounds play, as the UI thread does while a call is dialled.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "dialer/KeyTable.h"
#include "dialer/SoundPlayer.h"
#include "tests/support/PulseServer.h"
#include "tests/support/ToneListener.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

constexpr int kSamplesPerMs = MonitorRecorder::kRate / 1000;
const QString kRing = QStringLiteral("/usr/share/sounds/linphone/rings/oldphone-mono.wav");

// What `recorder` records from now on for `ms`: sound time, whatever the machine's load.
QByteArray record(const MonitorRecorder& recorder, qsizetype from, int ms) {
    const qsizetype until = recorder.size() + ms * kSamplesPerMs;
    waitUntil([&] { return recorder.size() >= until; }, ms + 10000);
    return recorder.samples(from);
}

// One player on one sound server, as in the program.
TEST(SoundPlayerTest, KeyTonesRingsAndBadFilesSoundAsTheyShould) {
    PulseServer server;
    server.useInThisProcess();
    MonitorRecorder recorder(server);
    ASSERT_TRUE(server.running() && recorder.running());
    // A recorder running this long keeps the idle null sink from rendering far ahead.
    record(recorder, 0, 2100);
    // Suspends soon, so that sounds also come after resuming.
    SoundPlayer player(200);
    QThread::msleep(300);

    // Twelve key tones at the dialling pace, named in any case; a name of no key plays nothing.
    qsizetype from = recorder.size();
    for (bool upper = false; const DialKey& key : kKeyTable) {
        const QString name = key.toneName;
        player.playTone((upper = !upper) ? name.toUpper() : name.toLower());
        QThread::msleep(100);
    }
    player.playTone("Tone12.wav");
    const auto keys = hearTones(record(recorder, from, 300));
    EXPECT_EQ("123456789*0#", keysOf(keys));
    for (const HeardTone& tone : keys) EXPECT_LE(50 * kSamplesPerMs, tone.length) << tone.key;

    // A key tone cuts the ring off and is heard at once; Stop silences it.
    for (const bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stop" : "tone");
        from = recorder.size();
        player.playFile(kRing);
        QThread::msleep(300);
        stop ? player.stop() : player.playTone("Tone5.wav");
        // The ring alone would sound for another 1.2 s.
        const QByteArray heard = record(recorder, from, 1500);
        const auto tones = hearTones(heard);
        ASSERT_EQ(stop ? "" : "5", keysOf(tones));
        const qsizetype ringStart = firstSound(heard, 0);
        ASSERT_GE(ringStart, 0) << "the ring was not heard";
        qsizetype quietFrom = ringStart + 600 * kSamplesPerMs;
        if (!stop) {
            // Played after the whole ring, the tone would start 1.77 s after it.
            EXPECT_GT(1000 * kSamplesPerMs, tones.front().start - ringStart) << "the tone waited";
            quietFrom = tones.front().start + tones.front().length + 30 * kSamplesPerMs;
        }
        EXPECT_EQ(-1, firstSound(heard, quietFrom)) << "the ring went on";
    }

    // The release sound plays only when nothing else plays.
    from = recorder.size();
    player.playTone("Tone1.wav");
    player.playFileIfIdle(kRing);
    QThread::msleep(600);
    player.playFileIfIdle(kRing);
    const QByteArray heard = record(recorder, from, 600);
    const auto one = hearTones(heard);
    ASSERT_EQ("1", keysOf(one));
    const qsizetype ring = firstSound(heard, one[0].start + one[0].length + 30 * kSamplesPerMs);
    EXPECT_LT(500 * kSamplesPerMs, ring) << "the ring played over the tone, or not at all (-1)";

    // A sound file that is missing or broken plays nothing (the desktop beeps), one cut short
    // plays what it holds, and the next key tone is heard as usual.
    QTemporaryDir dir;
    const QString cut = dir.filePath("cut short");
    ASSERT_TRUE(QFile::copy(kRing, cut) && QFile::resize(cut, 2044));
    for (const QString& path : {dir.filePath("missing"), cut, QString("/dev/null")}) {
        from = recorder.size();
        player.playFile(path);
        player.playTone("Tone5.wav");
        EXPECT_EQ("5", keysOf(hearTones(record(recorder, from, 600)))) << path.toStdString();
    }

    // The sound server going away while the player is silent or rings, and coming back: the
    // player lives on, and its tones are heard again once the sound system finds the server.
    for (const bool ringing : {false, true}) {
        SCOPED_TRACE(ringing ? "ringing" : "silent");
        if (ringing) player.playFile(kRing);
        QThread::msleep(100);
        server.stop();
        player.playTone("Tone2.wav");
        QThread::msleep(300);
        ASSERT_TRUE(server.start());
        MonitorRecorder after(server);
        record(after, 0, 2100);
        // A tone after every 400 ms of sound until one is heard.
        const auto heardFive = [&] {
            player.playTone("Tone5.wav");
            return keysOf(hearTones(record(after, 0, 400))).contains('5');
        };
        EXPECT_TRUE(waitUntil(heardFive, 30000));
    }
}

}  // namespace
}  // namespace softphone::test
