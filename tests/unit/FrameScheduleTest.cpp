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

// Runs the grabbing loop on a simulated clock: each grab and its hand-over
// cost workMs, then the loop sleeps until the next grab is due (or goes on
// at once when late). Returns the positions of the first `grabs` grabs
// that are written.
std::vector<uint32_t> ScheduledPositions(int interval, uint32_t workMs, int grabs) {
    std::vector<uint32_t> written;
    uint32_t position = 0, lastWritten = 0, elapsed = 0;
    for (int i = 0; i < grabs; ++i) {
        position = FramePosition(i == 0, position, elapsed, interval);
        if (ShouldWriteFrame(i == 0, position, lastWritten)) {
            written.push_back(position);
            lastWritten = position;
        }
        const uint32_t due = NextGrabDue(position, elapsed, interval);
        elapsed += workMs;
        while (uint32_t sleep = SleepBeforeGrab(due, elapsed)) {
            EXPECT_LE(sleep, SleepSliceMs);
            elapsed += sleep;
        }
    }
    return written;
}

std::vector<uint32_t> Count(uint32_t n) {
    std::vector<uint32_t> all(n);
    for (uint32_t i = 0; i < n; ++i) all[i] = i;
    return all;
}

TEST(FrameSchedule, WorkShorterThanTheIntervalFillsEveryPosition) {
    EXPECT_EQ(ScheduledPositions(100, 35, 50), Count(50));
    EXPECT_EQ(ScheduledPositions(100, 99, 50), Count(50));
    EXPECT_EQ(ScheduledPositions(33, 30, 300), Count(300));
    // The smallest interval, and a long one slept in 50 ms slices.
    EXPECT_EQ(ScheduledPositions(20, 5, 500), Count(500));
    EXPECT_EQ(ScheduledPositions(1000, 400, 20), Count(20));
    // Intervals where the position rule's floating point lands an exact
    // multiple a hair low: the grab waits the extra millisecond rather
    // than take the previous position again.
    for (int interval : {22, 24, 38, 41, 44})
        EXPECT_EQ(ScheduledPositions(interval, 3, 200), Count(200)) << interval;
}

TEST(FrameSchedule, LateGrabsAreTakenAtOnceAndSkipOnlyThePositionsTheyMissed) {
    EXPECT_EQ(ScheduledPositions(100, 250, 5), (std::vector<uint32_t>{0, 2, 5, 7, 10}));
    EXPECT_EQ(ScheduledPositions(100, 100, 6), Count(6));
    // Above 1000 ms every grab takes the next position, on a schedule too.
    EXPECT_EQ(ScheduledPositions(2000, 2500, 4), Count(4));
    EXPECT_EQ(NextGrabDue(3, 6100, 2000), 8000u);
    EXPECT_EQ(NextGrabDue(3, 8000, 2000), 10000u);
}

TEST(FrameSchedule, TheNextGrabIsDueAtTheStartOfTheNextPositionWhateverTheWork) {
    EXPECT_EQ(NextGrabDue(0, 0, 100), 100u);
    EXPECT_EQ(NextGrabDue(1, 130, 100), 200u);
    EXPECT_EQ(NextGrabDue(7, 799, 100), 800u);
    EXPECT_EQ(NextGrabDue(0, 0, 22), 23u);  // 22 ms gives position 0 still
    EXPECT_EQ(FramePosition(false, 0, 23, 22), 1u);
    // Sleeps are cut into slices; a due or late grab sleeps not at all.
    EXPECT_EQ(SleepBeforeGrab(100, 30), 50u);
    EXPECT_EQ(SleepBeforeGrab(100, 70), 30u);
    EXPECT_EQ(SleepBeforeGrab(100, 100), 0u);
    EXPECT_EQ(SleepBeforeGrab(100, 170), 0u);
    // Across the clock's wrap the due time is still ahead.
    EXPECT_EQ(SleepBeforeGrab(5, 0xFFFFFFF0u), 21u);
}

TEST(FrameSchedule, APauseMovesTheDueTimeOnByItsLength) {
    const uint32_t start = 10000;
    // A grab at 130 ms of recording time, due again at 200; a 5 s pause
    // comes in between: at 5150 ms on the clock, 150 ms are recorded.
    const uint32_t due = NextGrabDue(1, 130, 100);
    EXPECT_EQ(SleepBeforeGrab(due, ElapsedRecordingTime(start + 5150, 5000, start)), 50u);
    EXPECT_EQ(SleepBeforeGrab(due, ElapsedRecordingTime(start + 5200, 5000, start)), 0u);
    EXPECT_EQ(FramePosition(false, 1, ElapsedRecordingTime(start + 5200, 5000, start), 100), 2u);
}
