#include "engine/SoundClock.h"

#include <algorithm>

void SoundClock::Observe(uint32_t nowMs, uint32_t ahead) {
    if (ahead == 0 || m_rate == 0) return;
    if (!m_seen) m_firstLookMs = nowMs;
    const uint64_t past = m_advanced + ahead;  // frames past the first look's read point
    // Unsigned difference: timeGetTime wraps after 49.7 days.
    const int64_t lookUs = static_cast<int64_t>(nowMs - m_firstLookMs) * 1000;
    const int64_t bound = lookUs - static_cast<int64_t>(past * 1000000 / m_rate);
    m_boundUs = m_seen ? std::min(m_boundUs, bound) : bound;
    m_seen = true;
    m_seenFrames = std::max(m_seenFrames, past);
}

int64_t SoundClock::ReadPointAfterUs(uint32_t momentMs) const {
    const int64_t firstLookAfterMs = static_cast<int32_t>(m_firstLookMs - momentMs);
    return firstLookAfterMs * 1000 + m_boundUs +
           static_cast<int64_t>(m_advanced * 1000000 / m_rate);
}

int64_t SoundClock::ToFrames(int64_t us) const {
    // Rounded to the nearest frame, either way.
    const int64_t scaled = us * m_rate;
    return (scaled >= 0 ? scaled + 500000 : scaled - 500000) / 1000000;
}

int64_t SoundClock::FramesUntil(uint32_t momentMs) const {
    return m_seen ? -ToFrames(ReadPointAfterUs(momentMs)) : 0;
}

int64_t SoundClock::FilmFrames(uint32_t filmStartMs, uint32_t pausedMs) const {
    return m_seen ? ToFrames(ReadPointAfterUs(filmStartMs + pausedMs)) : 0;
}
