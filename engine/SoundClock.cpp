#include "engine/SoundClock.h"

#include <algorithm>

void SoundClock::Observe(uint32_t nowMs, uint32_t ahead) {
    if (ahead == 0 || m_rate == 0) return;
    if (!m_seen) m_firstLookMs = nowMs;
    // Unsigned difference: timeGetTime wraps after 49.7 days.
    const int64_t lookUs = static_cast<int64_t>(nowMs - m_firstLookMs) * 1000;
    const int64_t bound = lookUs - static_cast<int64_t>(ahead) * 1000000 / m_rate;
    m_boundUs = m_seen ? std::min(m_boundUs, bound) : bound;
    m_seen = true;
    m_seenFrames = std::max(m_seenFrames, ahead);
}

int64_t SoundClock::FilmFrames(uint32_t filmStartMs, uint32_t pausedMs) const {
    if (!m_seen) return 0;
    const int64_t sinceFilmUs =
        static_cast<int64_t>(static_cast<int32_t>(m_firstLookMs - filmStartMs - pausedMs)) * 1000 +
        m_boundUs;
    // Rounded to the nearest frame, either side of the film's start.
    const int64_t scaled = sinceFilmUs * m_rate;
    return (scaled >= 0 ? scaled + 500000 : scaled - 500000) / 1000000;
}
