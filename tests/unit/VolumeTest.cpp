#include <gtest/gtest.h>

#include "support/MixerLevels.h"
#include "tests/support/FakeMixer.h"
#include "tests/support/Fakes.h"

namespace softphone::test {
namespace {

using C = MixerComponent;
using K = MixerControlKind;

struct Card {
    FakeMixer* mixer;
    RecordingMessageBox messages;
    std::unique_ptr<MixerLevels> volume;

    explicit Card(std::unique_ptr<FakeMixer> m) : mixer(m.get()) {
        volume = std::make_unique<MixerLevels>(std::move(m), messages);
    }
};

std::unique_ptr<FakeMixer> FullCard() {
    auto mixer = std::make_unique<FakeMixer>();
    mixer->WithLine(C::Speakers, 0, 65535)
        .WithLine(C::Microphone, 10, 100)
        .WithLine(C::WaveOut, 0, 31)
        .WithLine(C::Line, 0, 15)
        .WithLine(C::CompactDisc, 0, 7)
        .WithLine(C::Synthesizer, -20, 20);
    return mixer;
}

TEST(Volume, NoMixerSaysSoOnceAndFindsNothing) {
    auto mixer = FullCard();
    mixer->opens = false;
    Card card(std::move(mixer));
    EXPECT_EQ(card.messages.Texts(), QStringList{"No mixer found!"});
    EXPECT_EQ(card.messages.shown[0].title, "Softphone");
    EXPECT_TRUE(card.mixer->lookups.empty());
    MixerLevels& v = *card.volume;
    const int bounds[] = {v.MinWaveVolume(),   v.MaxWaveVolume(),   v.MinMicVolume(),
                          v.MaxMicVolume(),    v.MinWavInVolume(),  v.MaxWavInVolume(),
                          v.MinLineInVolume(), v.MaxLineInVolume(), v.MinCDVolume(),
                          v.MaxCDVolume(),     v.MinMidVolume(),    v.MaxMidVolume()};
    for (int bound : bounds) EXPECT_EQ(bound, 0);
    for (int mask = 1; mask <= 63; mask <<= 1) {
        EXPECT_FALSE(v.HasVolumeControl(mask)) << mask;
        EXPECT_FALSE(v.HasMuteControl(mask)) << mask;
    }
    v.WaveVolume(100);
    EXPECT_EQ(v.WaveVolume(), 0);
}

TEST(Volume, DiscoversLinesInOrderVolumeBeforeMute) {
    auto mixer = std::make_unique<FakeMixer>();
    mixer->WithLine(C::Speakers, 0, 100).WithLine(C::Line, 0, 15, false);
    Card card(std::move(mixer));
    std::vector<std::pair<C, K>> seen;
    for (const auto& l : card.mixer->lookups) seen.push_back({l.line, l.kind});
    // Mute is looked up only for lines whose volume control was found; Aux only after Line failed.
    const std::vector<std::pair<C, K>> expected = {
        {C::Speakers, K::Volume},    {C::Speakers, K::Mute},     {C::Microphone, K::Volume},
        {C::WaveOut, K::Volume},     {C::Line, K::Volume},       {C::Line, K::Mute},
        {C::CompactDisc, K::Volume}, {C::Synthesizer, K::Volume}};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(card.messages.shown.empty());
}

TEST(Volume, LineInFallsBackToAuxiliary) {
    auto mixer = std::make_unique<FakeMixer>();
    mixer->WithLine(C::Auxiliary, 3, 40);
    Card card(std::move(mixer));
    MixerLevels& v = *card.volume;
    EXPECT_TRUE(v.HasVolumeControl(MixerLevels::LineIn));
    EXPECT_TRUE(v.HasMuteControl(MixerLevels::LineIn));
    EXPECT_EQ(v.MinLineInVolume(), 3);
    EXPECT_EQ(v.MaxLineInVolume(), 40);
    v.LineInVolume(20);
    v.LineInMute(1);
    EXPECT_EQ(card.mixer->Last(C::Auxiliary), 20);
    EXPECT_EQ(card.mixer->Last(C::Auxiliary, K::Mute), 1);
    EXPECT_EQ(v.LineInVolume(), 20);
}

TEST(Volume, VolumeWithoutMute) {
    auto mixer = std::make_unique<FakeMixer>();
    mixer->WithLine(C::Microphone, 0, 100, false);
    Card card(std::move(mixer));
    MixerLevels& v = *card.volume;
    EXPECT_TRUE(v.HasVolumeControl(MixerLevels::Micro));
    EXPECT_FALSE(v.HasMuteControl(MixerLevels::Micro));
    v.MicroMute(1);  // no control: nothing is written
    EXPECT_TRUE(card.mixer->writes.empty());
    EXPECT_EQ(v.MicroMute(), 0);
}

TEST(Volume, MaskMatchesAnyFoundLine) {
    struct Row {
        std::vector<C> lines;
        int mask;
        bool expected;
    };
    const Row rows[] = {
        {{C::Speakers}, 3, true},
        {{C::Microphone}, 3, true},
        {{C::WaveOut}, 3, false},
        {{C::Synthesizer}, 32, true},
        {{C::CompactDisc}, 16, true},
        {{}, 63, false},
        {{C::Speakers, C::Microphone}, 2, true},
    };
    for (const Row& row : rows) {
        auto mixer = std::make_unique<FakeMixer>();
        for (C line : row.lines) mixer->WithLine(line, 0, 10);
        Card card(std::move(mixer));
        EXPECT_EQ(card.volume->HasVolumeControl(row.mask), row.expected) << row.mask;
    }
}

TEST(Volume, LevelsAreClampedToTheLineRange) {
    Card card(FullCard());
    MixerLevels& v = *card.volume;
    struct Row {
        void (MixerLevels::*set)(int);
        C line;
        int written, expected;
    };
    const Row rows[] = {
        {&MixerLevels::WaveVolume, C::Speakers, -1, 0},
        {&MixerLevels::WaveVolume, C::Speakers, 30000, 30000},
        {&MixerLevels::WaveVolume, C::Speakers, 70000, 65535},
        {&MixerLevels::MicroVolume, C::Microphone, 0, 10},
        {&MixerLevels::MicroVolume, C::Microphone, 10, 10},
        {&MixerLevels::MicroVolume, C::Microphone, 101, 100},
        {&MixerLevels::WaveInVolume, C::WaveOut, 32, 31},
        {&MixerLevels::LineInVolume, C::Line, 7, 7},
        {&MixerLevels::CD_Volume, C::CompactDisc, 8, 7},
        {&MixerLevels::MIDIVolume, C::Synthesizer, -21, -20},
        {&MixerLevels::MIDIVolume, C::Synthesizer, -5, -5},
    };
    for (const Row& row : rows) {
        (v.*row.set)(row.written);
        EXPECT_EQ(card.mixer->Last(row.line), row.expected) << row.written;
    }
}

TEST(Volume, MuteValuesPassThroughUnchanged) {
    Card card(FullCard());
    MixerLevels& v = *card.volume;
    for (int value : {0, 1, 2, -7, 65536}) {
        v.WaveMute(value);
        EXPECT_EQ(card.mixer->Last(C::Speakers, K::Mute), value);
        EXPECT_EQ(v.WaveMute(), value);
    }
    v.MIDIMute(5);
    EXPECT_EQ(card.mixer->Last(C::Synthesizer, K::Mute), 5);
}

TEST(Volume, FailedReadGivesZero) {
    Card card(FullCard());
    EXPECT_EQ(card.volume->CD_Volume(), 0);  // the fake has no value yet: the read fails
    card.mixer->SetLevel(C::CompactDisc, 6);
    EXPECT_EQ(card.volume->CD_Volume(), 6);
}

}  // namespace
}  // namespace softphone::test
