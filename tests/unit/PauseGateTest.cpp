#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine/PauseGate.h"

namespace {

// Polls a condition for at most two seconds.
template <class Condition>
bool Eventually(Condition condition) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::yield();
    }
    return true;
}

}  // namespace

TEST(PauseGate, PassesStraightThroughWithoutAPause) {
    PauseGate gate;
    std::atomic<int32_t> active{1};
    EXPECT_FALSE(gate.WaitWhilePaused(active));
    EXPECT_EQ(gate.ParkedThreads(), 0);
}

TEST(PauseGate, ParksAThreadUntilReleased) {
    PauseGate gate;
    std::atomic<int32_t> active{1};
    std::atomic<bool> passed{false};
    gate.RequestPause();
    std::thread worker([&] { passed = gate.WaitWhilePaused(active); });
    ASSERT_TRUE(Eventually([&] { return gate.ParkedThreads() == 1; }));
    EXPECT_FALSE(passed);
    gate.Release();
    worker.join();
    EXPECT_TRUE(passed);
    EXPECT_EQ(gate.ParkedThreads(), 0);
    EXPECT_FALSE(gate.PauseRequested());
}

TEST(PauseGate, AnEndedRecordingLetsAParkedThreadGoEvenWithoutARelease) {
    PauseGate gate;
    std::atomic<int32_t> active{1};
    gate.RequestPause();
    std::thread worker([&] { gate.WaitWhilePaused(active); });
    ASSERT_TRUE(Eventually([&] { return gate.ParkedThreads() == 1; }));
    active = 0;
    worker.join();
    EXPECT_EQ(gate.ParkedThreads(), 0);
}

TEST(PauseGate, TellsHowLongAgoThePauseWasAskedForAndNotAgainAtARepeat) {
    PauseGate gate;
    EXPECT_EQ(gate.MsSinceRequest(), 0u);
    gate.RequestPause();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const uint32_t first = gate.MsSinceRequest();
    EXPECT_GE(first, 30u);
    gate.RequestPause();  // still the same pause
    EXPECT_GE(gate.MsSinceRequest(), first);
    gate.Release();
    EXPECT_EQ(gate.MsSinceRequest(), 0u);
}
