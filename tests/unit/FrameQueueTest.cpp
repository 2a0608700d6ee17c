#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "engine/FrameQueue.h"

namespace {

using Queue = FrameQueue<int>;

std::vector<int> PopAll(Queue& queue) {
    std::vector<int> items;
    int item = 0;
    while (queue.Pop(item, 0) == Queue::PopResult::Item) items.push_back(item);
    return items;
}

}  // namespace

TEST(FrameQueue, AFullQueueRefusesTheNewestAndKeepsTheOrder) {
    Queue queue(3);
    EXPECT_TRUE(queue.TryPush(1));
    EXPECT_TRUE(queue.TryPush(2));
    EXPECT_TRUE(queue.TryPush(3));
    EXPECT_FALSE(queue.TryPush(4));
    EXPECT_EQ(queue.Size(), 3u);
    int item = 0;
    ASSERT_EQ(queue.Pop(item, 0), Queue::PopResult::Item);
    EXPECT_EQ(item, 1);
    EXPECT_TRUE(queue.TryPush(5));
    EXPECT_EQ(PopAll(queue), (std::vector<int>{2, 3, 5}));
}

TEST(FrameQueue, AClosedQueueHandsOutWhatItHoldsThenSaysClosed) {
    Queue queue(3);
    int item = 0;
    EXPECT_EQ(queue.Pop(item, 10), Queue::PopResult::TimedOut);
    queue.TryPush(1);
    queue.TryPush(2);
    queue.Close();
    EXPECT_FALSE(queue.TryPush(3));
    EXPECT_EQ(PopAll(queue), (std::vector<int>{1, 2}));
    EXPECT_EQ(queue.Pop(item, 10), Queue::PopResult::Closed);
}

TEST(FrameQueue, AWaitingConsumerWakesForAnItemAndForTheClose) {
    Queue queue(3);
    std::vector<int> got;
    Queue::PopResult last = Queue::PopResult::TimedOut;
    // Long waits: a wake-up that never comes fails the test by timing out.
    std::thread consumer([&] {
        int item = 0;
        while ((last = queue.Pop(item, 20000)) == Queue::PopResult::Item) got.push_back(item);
    });
    for (int i = 1; i <= 10; ++i)
        while (!queue.TryPush(i)) std::this_thread::yield();
    queue.Close();
    consumer.join();
    EXPECT_EQ(last, Queue::PopResult::Closed);
    EXPECT_EQ(got, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}
