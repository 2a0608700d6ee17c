// Where a recording thread waits out a pause. Suspending a thread at an
// arbitrary point can leave it holding a lock the user-interface thread
// needs (a device context, a GDI object), which freezes the program; so a
// pause only takes effect at the thread's safe point, where it holds nothing.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

class PauseGate {
public:
    // Controller side: ask the threads to park at their next safe point,
    // and let them go again (on resume or stop).
    void RequestPause();
    void Release();
    bool PauseRequested() const;
    // How long ago the pause now asked for was asked for; 0 without one.
    uint32_t MsSinceRequest() const;

    // Worker side, at a safe point: blocks while a pause is asked for and
    // the recording is still active. Returns whether it waited.
    bool WaitWhilePaused(const std::atomic<int32_t>& recordingActive);

    // How many threads are parked right now.
    int ParkedThreads() const { return m_parked.load(); }

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_paused = false;
    std::chrono::steady_clock::time_point m_requestedAt;
    std::atomic<int> m_parked{0};
};
