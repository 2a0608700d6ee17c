#include <gtest/gtest.h>

#include <vector>

#include "engine/FrameSchedule.h"

namespace {

// Runs the loop's position and write rules over the elapsed times of its
// iterations and returns the positions written.
std::vector<uint32_t> WrittenPositions(const std::vector<uint32_t>& elapsed, int interval) {
    std::vector<uint32_t> written;
    uint32_t position = 0, lastWritten = 0;
    for (size_t i = 0; i < elapsed.size(); ++i) {
        position = FramePosition(i == 0, position, elapsed[i], interval);
        if (ShouldWriteFrame(i == 0, position, lastWritten)) {
            written.push_back(position);
            lastWritten = position;
        }
    }
    return written;
}

}  // namespace

TEST(FrameSchedule, SlowIterationsSkipPositionsToKeepWallClockTime) {
    EXPECT_EQ(WrittenPositions({0, 250, 500, 750, 1000}, 100),
              (std::vector<uint32_t>{0, 2, 5, 7, 10}));
    EXPECT_EQ(WrittenPositions({0, 100, 200, 300, 400, 500, 600, 700}, 100),
              (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(WrittenPositions({0, 20, 40, 60}, 20), (std::vector<uint32_t>{0, 1, 2, 3}));
    EXPECT_EQ(FramePosition(false, 0, 999, 1000), 0u);
    EXPECT_EQ(FramePosition(false, 0, 3000, 1000), 3u);
}

TEST(FrameSchedule, TwoGrabsInOneIntervalWriteOnlyTheFirst) {
    // Grabs still inside the first interval never overwrite frame 0.
    EXPECT_EQ(WrittenPositions({0, 40, 99, 130, 170, 210}, 100),
              (std::vector<uint32_t>{0, 1, 2}));
}

TEST(FrameSchedule, IntervalsAbove1000TakeTheNextPositionWhateverTheTime) {
    EXPECT_EQ(WrittenPositions({0, 2100, 2150, 9000}, 2000),
              (std::vector<uint32_t>{0, 1, 2, 3}));
    EXPECT_EQ(FramePosition(false, 41, 0, 1001), 42u);
}

TEST(FrameSchedule, PausesAreRemovedFromTheElapsedTime) {
    const uint32_t start = 10000;
    // 300 ms recorded, a 5 s pause, then 100 ms more: position 4, not 54.
    const uint32_t elapsed = ElapsedRecordingTime(start + 5400, 5000, start);
    EXPECT_EQ(elapsed, 400u);
    EXPECT_EQ(FramePosition(false, 3, elapsed, 100), 4u);
    // Two pauses add up; the clock wrapping past 2^32 does not matter.
    EXPECT_EQ(ElapsedRecordingTime(5u + 1000 + 2000 + 3000, 2000 + 3000, 5u), 1000u);
    EXPECT_EQ(ElapsedRecordingTime(500u, 0, 0xFFFFFF00u), 756u);
}

TEST(FrameSchedule, StatusIsDueWhenTheHalfSecondCountChanges) {
    uint32_t last = 0;
    EXPECT_FALSE(StatusDue(0, last));
    EXPECT_FALSE(StatusDue(499, last));
    EXPECT_TRUE(StatusDue(500, last));
    EXPECT_EQ(last, 1u);
    EXPECT_FALSE(StatusDue(999, last));
    EXPECT_TRUE(StatusDue(2600, last));  // skipped counts still report once
    EXPECT_EQ(last, 5u);
    EXPECT_EQ(StatusSeconds(2600), 2);
    EXPECT_EQ(StatusSeconds(999), 0);
    EXPECT_EQ(StatusSeconds(61000), 61);
}

TEST(FrameSchedule, SleepIsCutInto50MsSlicesAndARemainder) {
    EXPECT_EQ(SleepSlices(20), 0);
    EXPECT_EQ(SleepRemainder(20), 20);
    EXPECT_EQ(SleepSlices(100), 2);
    EXPECT_EQ(SleepRemainder(100), 0);
    EXPECT_EQ(SleepSlices(10000), 200);
    EXPECT_EQ(SleepRemainder(175), 25);
}
