// The hand-over between the thread that grabs frames and the one that
// compresses and writes them: a queue of a few frames at most, so memory
// stays bounded when the writing side falls behind. A full queue refuses
// the newest frame (its position stays empty in the film) rather than grow;
// a closed queue still hands out what it holds, so a stop writes every
// frame already grabbed.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

template <class T>
class FrameQueue {
public:
    explicit FrameQueue(size_t capacity) : m_capacity(capacity) {}

    // Producer: false when the queue is full or closed; the item then stays
    // with the caller.
    bool TryPush(const T& item) {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_closed || m_items.size() >= m_capacity) return false;
            m_items.push_back(item);
        }
        m_changed.notify_one();
        return true;
    }

    // Producer: no more items will come.
    void Close() {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_closed = true;
        }
        m_changed.notify_all();
    }

    enum class PopResult { Item, TimedOut, Closed };

    // Consumer: the oldest item, waiting up to timeoutMs for one; Closed
    // once the queue is closed and empty.
    PopResult Pop(T& item, unsigned timeoutMs) {
        std::unique_lock<std::mutex> guard(m_lock);
        m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                           [&] { return m_closed || !m_items.empty(); });
        if (m_items.empty()) return m_closed ? PopResult::Closed : PopResult::TimedOut;
        item = m_items.front();
        m_items.pop_front();
        return PopResult::Item;
    }

    size_t Size() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_items.size();
    }

private:
    const size_t m_capacity;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<T> m_items;
    bool m_closed = false;
};
