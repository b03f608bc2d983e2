#include <gtest/gtest.h>

#include "support/MixerLevels.h"
#include "tests/support/FakeDesk.h"
#include "tests/support/Fakes.h"

namespace softphone::test {
namespace {

using L = MixerLine;

struct Card {
    FakeMixer* mixer;
    RecordingMessageBox messages;
    std::unique_ptr<MixerLevels> levels;

    explicit Card(std::unique_ptr<FakeMixer> m) : mixer(m.get()) {
        levels = std::make_unique<MixerLevels>(std::move(m), messages);
    }
};

TEST(MixerLevels, NoMixerSaysSoOnceAndHasNoLevels) {
    auto mixer = std::make_unique<FakeMixer>();
    mixer->WithLine(L::Speaker, 0, 100).WithLine(L::Microphone, 0, 100);
    mixer->opens = false;
    Card card(std::move(mixer));
    EXPECT_EQ(card.messages.Texts(), QStringList{"No mixer found!"});
    EXPECT_EQ(card.messages.shown[0].title, "Softphone");
    for (L line : {L::Speaker, L::Microphone}) {
        EXPECT_FALSE(card.levels->HasLevel(line));
        card.levels->SetLevel(line, 50);
        EXPECT_EQ(card.levels->Level(line), 0);
    }
    EXPECT_TRUE(card.mixer->writes.empty());
}

TEST(MixerLevels, ALineWithoutControlHasNoLevelAndTakesNoWrites) {
    auto mixer = std::make_unique<FakeMixer>();
    mixer->WithLine(L::Speaker, 0, 100);
    Card card(std::move(mixer));
    EXPECT_TRUE(card.messages.shown.empty());
    EXPECT_TRUE(card.levels->HasLevel(L::Speaker));
    EXPECT_FALSE(card.levels->HasLevel(L::Microphone));
    card.levels->SetLevel(L::Microphone, 5);
    EXPECT_TRUE(card.mixer->writes.empty());
}

TEST(MixerLevels, LevelsAreClampedToTheLineRange) {
    auto mixer = std::make_unique<FakeMixer>();
    mixer->WithLine(L::Speaker, 0, 65535).WithLine(L::Microphone, -20, 20);
    Card card(std::move(mixer));
    struct Row {
        L line;
        int written, expected;
    };
    const Row rows[] = {
        {L::Speaker, -1, 0},       {L::Speaker, 30000, 30000}, {L::Speaker, 70000, 65535},
        {L::Microphone, -21, -20}, {L::Microphone, -5, -5},    {L::Microphone, 21, 20},
    };
    for (const Row& row : rows) {
        card.levels->SetLevel(row.line, row.written);
        EXPECT_EQ(card.mixer->Last(row.line), row.expected) << row.written;
    }
}

TEST(MixerLevels, FailedReadGivesZero) {
    auto mixer = std::make_unique<FakeMixer>();
    mixer->WithLine(L::Microphone, 0, 10);
    Card card(std::move(mixer));
    EXPECT_EQ(card.levels->Level(L::Microphone), 0);  // the fake has no value yet
    card.mixer->SetLevel(L::Microphone, 6);
    EXPECT_EQ(card.levels->Level(L::Microphone), 6);
}

}  // namespace
}  // namespace softphone::test
