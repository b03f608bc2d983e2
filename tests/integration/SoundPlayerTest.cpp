// The real sound player against a private PulseAudio null sink, heard through the sink's monitor.
// The test thread sleeps while sounds play, as the UI thread does while a call is dialled.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

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
QByteArray Record(const MonitorRecorder& recorder, qsizetype from, int ms) {
    const qsizetype until = recorder.Size() + ms * kSamplesPerMs;
    WaitUntil([&] { return recorder.Size() >= until; }, ms + 10000);
    return recorder.Samples(from);
}

class SoundPlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = std::make_unique<PulseServer>();
        recorder_ = std::make_unique<MonitorRecorder>(*server_);
        server_->UseInThisProcess();
        // A recorder running this long keeps the idle null sink from rendering far ahead.
        Record(*recorder_, 0, 2100);
        // Suspends soon, so that sounds also come after resuming.
        player_ = std::make_unique<SoundPlayer>(200);
        QThread::msleep(300);
    }
    static void TearDownTestSuite() {
        player_.reset();
        recorder_.reset();
        server_.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(server_->Running() && recorder_->Running());
        from_ = recorder_->Size();
    }
    // What the sink played since the test began, `ms` after now.
    QByteArray Heard(int ms = 300) { return Record(*recorder_, from_, ms); }

    static inline std::unique_ptr<PulseServer> server_;
    static inline std::unique_ptr<MonitorRecorder> recorder_;
    static inline std::unique_ptr<SoundPlayer> player_;
    qsizetype from_ = 0;
};

// Names in any case; a name of no key plays nothing.
TEST_F(SoundPlayerTest, TwelveTonesAtTheDiallingPaceAreAllHeardInOrder) {
    bool upper = false;
    for (const DialKey& key : kKeyTable) {
        const QString name = key.toneName;
        player_->PlayTone((upper = !upper) ? name.toUpper() : name.toLower());
        QThread::msleep(100);
    }
    player_->PlayTone("Tone12.wav");
    const auto tones = HearTones(Heard());
    EXPECT_EQ("123456789*0#", KeysOf(tones));
    for (const HeardTone& tone : tones) EXPECT_LE(50 * kSamplesPerMs, tone.length) << tone.key;
}

TEST_F(SoundPlayerTest, ANewToneCutsOffTheRing) {
    player_->PlayFile(kRing);
    QThread::msleep(300);
    player_->PlayTone("Tone5.wav");
    // The ring alone would sound for another 1.2 s.
    const QByteArray heard = Heard(1500);
    const auto tones = HearTones(heard);
    ASSERT_EQ("5", KeysOf(tones));
    const qsizetype toneStart = tones.front().start;
    const qsizetype ringStart = FirstSound(heard, 0);
    EXPECT_TRUE(ringStart >= 0 && ringStart < toneStart) << "the ring was not heard";
    // Played after the whole ring, the tone would start 1.77 s after it.
    EXPECT_GT(1000 * kSamplesPerMs, toneStart - ringStart) << "the tone waited for the ring";
    EXPECT_EQ(-1, FirstSound(heard, toneStart + tones.front().length + 30 * kSamplesPerMs))
        << "the ring went on";
}

TEST_F(SoundPlayerTest, TheReleaseSoundPlaysOnlyWhenNothingElsePlays) {
    player_->PlayTone("Tone1.wav");
    player_->PlayFileIfIdle(kRing);
    QThread::msleep(600);
    player_->PlayFileIfIdle(kRing);
    const QByteArray heard = Heard(600);
    const auto tones = HearTones(heard);
    ASSERT_EQ("1", KeysOf(tones));
    const qsizetype ring = FirstSound(heard, tones[0].start + tones[0].length + 30 * kSamplesPerMs);
    ASSERT_NE(-1, ring) << "the ring was not heard when nothing played";
    EXPECT_LT(500 * kSamplesPerMs, ring) << "the ring played over the tone";
}

TEST_F(SoundPlayerTest, StopSilencesTheRing) {
    player_->PlayFile(kRing);
    QThread::msleep(300);
    player_->Stop();
    const QByteArray heard = Heard(1500);
    EXPECT_NE(-1, FirstSound(heard, 0));
    EXPECT_EQ(-1, FirstSound(heard, 600 * kSamplesPerMs));
}

// A sound file that is missing or broken plays nothing (the desktop beeps) and the next key
// tone is heard as usual.
TEST_F(SoundPlayerTest, ABadFileLeavesThePlayerWorking) {
    QTemporaryDir dir;
    QFile ring(kRing);
    ASSERT_TRUE(ring.open(QIODevice::ReadOnly));
    const QByteArray header = ring.read(44);
    const struct {
        const char* name;
        QByteArray bytes;  // none: no file
    } cases[] = {
        {"missing", {}},
        {"text", "not a sound\n"},
        {"header only", header},
        {"cut short", header + ring.read(2000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(c.name);
        QFile file(path);
        ASSERT_TRUE(c.bytes.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(c.bytes)));
        file.close();
        const qsizetype from = recorder_->Size();
        player_->PlayFile(path);
        player_->PlayTone("Tone5.wav");
        EXPECT_EQ("5", KeysOf(HearTones(Record(*recorder_, from, 600))));
    }
}

// The sound server going away while the player is silent, plays tones or rings, and coming
// back: the player lives on, and its tones are heard again.
TEST(SoundServerGoneTest, PlayerLivesOnAndIsHeardWhenTheServerReturns) {
    PulseServer server;
    server.UseInThisProcess();
    SoundPlayer player(200);
    QThread::msleep(300);
    enum class Plays { Nothing, Tones, Ring };
    for (const Plays plays : {Plays::Nothing, Plays::Tones, Plays::Ring}) {
        SCOPED_TRACE(int(plays));
        for (int i = 0; plays == Plays::Tones && i < 3; ++i) {
            player.PlayTone("Tone1.wav");
            QThread::msleep(40);
        }
        if (plays == Plays::Ring) player.PlayFile(kRing);
        QThread::msleep(100);
        server.Stop();
        player.PlayTone("Tone2.wav");
        QThread::msleep(300);
        ASSERT_TRUE(server.Start());
        MonitorRecorder recorder(server);
        Record(recorder, 0, 2100);  // see SoundPlayerTest
        // The sound system may take a few seconds to find the server again.
        bool heard = false;
        for (int attempt = 0; attempt < 30 && !heard; ++attempt) {
            player.PlayTone("Tone5.wav");
            heard = KeysOf(HearTones(Record(recorder, 0, 400))).contains('5');
        }
        EXPECT_TRUE(heard);
    }
}

}  // namespace
}  // namespace softphone::test
