// A manual-reset event between threads: set once something has happened,
// waited for by whoever needs it to have happened.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

class Signal {
public:
    void Set() {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_set = true;
        }
        m_changed.notify_all();
    }
    void Reset() {
        std::lock_guard<std::mutex> guard(m_lock);
        m_set = false;
    }
    bool IsSet() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_set;
    }
    void Wait() {
        std::unique_lock<std::mutex> guard(m_lock);
        m_changed.wait(guard, [&] { return m_set; });
    }
    // False when the time ran out first.
    bool WaitFor(std::chrono::milliseconds limit) {
        std::unique_lock<std::mutex> guard(m_lock);
        return m_changed.wait_for(guard, limit, [&] { return m_set; });
    }

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_set = false;
};
