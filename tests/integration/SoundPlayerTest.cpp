// The real sound player against a private PulseAudio null sink, heard through the sink's monitor.
// The test thread sleeps while sounds play, as the UI thread does while a call is dialled.
#include <gtest/gtest.h>

#include <QThread>
#include <memory>

#include "dialer/KeyTable.h"
#include "dialer/SoundPlayer.h"
#include "tests/support/PulseServer.h"
#include "tests/support/ToneListener.h"

namespace softphone {
namespace {

using test::FirstSound;
using test::HearTones;
using test::KeysOf;

constexpr int kSamplesPerMs = 8;
const QString kRing = QStringLiteral("/usr/share/sounds/linphone/rings/oldphone-mono.wav");

class SoundPlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = std::make_unique<test::PulseServer>();
        recorder_ = std::make_unique<test::MonitorRecorder>(*server_);
        server_->UseInThisProcess();
        // A recorder running this long keeps the idle null sink from rendering far ahead.
        QThread::msleep(2100);
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
        ASSERT_TRUE(server_->Running());
        ASSERT_TRUE(recorder_->Running());
        from_ = recorder_->Size();
    }

    // What the sink played since the test began, with the time it needs to arrive.
    QByteArray Heard(int settleMs = 300) {
        QThread::msleep(settleMs);
        return recorder_->Samples(from_);
    }

    static std::unique_ptr<test::PulseServer> server_;
    static std::unique_ptr<test::MonitorRecorder> recorder_;
    static std::unique_ptr<SoundPlayer> player_;
    qsizetype from_ = 0;
};

std::unique_ptr<test::PulseServer> SoundPlayerTest::server_;
std::unique_ptr<test::MonitorRecorder> SoundPlayerTest::recorder_;
std::unique_ptr<SoundPlayer> SoundPlayerTest::player_;

TEST_F(SoundPlayerTest, TwelveTonesAtTheDiallingPaceAreAllHeardInOrder) {
    for (const DialKey& key : kKeyTable) {
        player_->PlayTone(key.toneName);
        QThread::msleep(100);
    }
    const auto tones = HearTones(Heard());
    EXPECT_EQ(QStringLiteral("123456789*0#"), KeysOf(tones));
    for (const test::HeardTone& tone : tones)
        EXPECT_LE(50 * kSamplesPerMs, tone.length) << "key " << tone.key;
}

TEST_F(SoundPlayerTest, ToneNamesAreMatchedWithoutRegardToCase) {
    player_->PlayTone("TONESTAR.WAV");
    QThread::msleep(100);
    player_->PlayTone("tone7.wav");
    QThread::msleep(100);
    player_->PlayTone("Tone12.wav");
    EXPECT_EQ(QStringLiteral("*7"), KeysOf(HearTones(Heard())));
}

TEST_F(SoundPlayerTest, ANewToneCutsOffTheRing) {
    player_->PlayFile(kRing);
    QThread::msleep(300);
    player_->PlayTone("Tone5.wav");
    // The ring alone would sound for another 1.2 s.
    const QByteArray heard = Heard(1500);
    const auto tones = HearTones(heard);
    ASSERT_EQ(QStringLiteral("5"), KeysOf(tones));
    const qsizetype toneStart = tones.front().start;
    const qsizetype toneEnd = toneStart + tones.front().length;
    const qsizetype ringStart = FirstSound(heard, 0);
    EXPECT_TRUE(ringStart >= 0 && ringStart < toneStart) << "the ring was not heard";
    // Played after the whole ring, the tone would start 1.77 s after it.
    EXPECT_GT(1000 * kSamplesPerMs, toneStart - ringStart) << "the tone waited for the ring";
    EXPECT_EQ(-1, FirstSound(heard, toneEnd + 30 * kSamplesPerMs)) << "the ring went on";
}

TEST_F(SoundPlayerTest, TheReleaseSoundPlaysOnlyWhenNothingElsePlays) {
    player_->PlayTone("Tone1.wav");
    player_->PlayFileIfIdle(kRing);
    QThread::msleep(600);
    player_->PlayFileIfIdle(kRing);
    const QByteArray heard = Heard(600);
    const auto tones = HearTones(heard);
    ASSERT_EQ(QStringLiteral("1"), KeysOf(tones));
    const qsizetype afterTone = tones.front().start + tones.front().length;
    const qsizetype ring = FirstSound(heard, afterTone + 30 * kSamplesPerMs);
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

// The sound server stopping while the player is silent or plays tones, and coming back: the
// player lives on, and its tones are heard again.
TEST(SoundServerGoneTest, PlayerLivesOnAndIsHeardWhenTheServerReturns) {
    test::PulseServer server;
    server.UseInThisProcess();
    SoundPlayer player(200);
    QThread::msleep(300);
    for (const bool playing : {false, true}) {
        SCOPED_TRACE(playing ? "while tones play" : "silent");
        for (int i = 0; playing && i < 3; ++i) {
            player.PlayTone("Tone1.wav");
            QThread::msleep(40);
        }
        server.Stop();
        player.PlayTone("Tone2.wav");
        QThread::msleep(300);
        ASSERT_TRUE(server.Start());
        test::MonitorRecorder recorder(server);
        QThread::msleep(2100);  // see SoundPlayerTest
        // The sound system may take a few seconds to find the server again.
        bool heard = false;
        for (int attempt = 0; attempt < 30 && !heard; ++attempt) {
            player.PlayTone("Tone5.wav");
            QThread::msleep(400);
            heard = KeysOf(HearTones(recorder.Samples())).contains('5');
        }
        EXPECT_TRUE(heard);
    }
}

}  // namespace
}  // namespace softphone
