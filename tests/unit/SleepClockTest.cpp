// A suspend noticed afterwards, from how far the boot and monotonic clocks moved apart.
#include <gtest/gtest.h>

#include "support/SleepWatcher.h"

namespace softphone::test {
namespace {

using namespace std::chrono_literals;

TEST(SleepClock, OnlyTimeTheMonotonicClockMissedIsASleep) {
    const ClockReading before{100s, 40s};
    const struct {
        const char* name;
        ClockReading after;
        bool slept;
    } cases[] = {
        {"awake, both clocks moved 10 s", {110s, 50s}, false},
        {"clocks read 1 s apart under load", {111s, 50s}, false},
        {"suspended for 20 s of the 30 s", {130s, 50s}, true},
    };
    for (const auto& c : cases) EXPECT_EQ(sleptBetween(before, c.after), c.slept) << c.name;
}

}  // namespace
}  // namespace softphone::test
