#include "engine/PauseGate.h"

#include <chrono>

void PauseGate::RequestPause() {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_paused) m_requestedAt = std::chrono::steady_clock::now();
    m_paused = true;
}

void PauseGate::Release() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_paused = false;
    }
    m_changed.notify_all();
}

bool PauseGate::PauseRequested() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_paused;
}

uint32_t PauseGate::MsSinceRequest() const {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_paused) return 0;
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - m_requestedAt)
                                     .count());
}

bool PauseGate::WaitWhilePaused(const std::atomic<int32_t>& recordingActive) {
    std::unique_lock<std::mutex> guard(m_lock);
    if (!m_paused) return false;
    ++m_parked;
    // The stop clears the flag before it releases the gate; the timed wait
    // also covers a thread that fails and clears it without a release.
    while (m_paused && recordingActive.load() != 0)
        m_changed.wait_for(guard, std::chrono::milliseconds(50));
    --m_parked;
    return true;
}
