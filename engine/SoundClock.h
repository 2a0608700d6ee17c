// Where the sound at the ring's read point was captured, on the film's
// clock, from the capture position the device reports. Each look at the
// position bounds it: what the device has delivered by a moment was
// captured before that moment, and it came in at the format's rate. The
// earliest of these bounds is the closest; half a second of sound gives
// enough looks for it, also when a device starts seconds late or delivers
// in bursts.
#pragma once

#include <cstdint>

class SoundClock {
public:
    explicit SoundClock(uint32_t rate) : m_rate(rate) {}

    // At nowMs (timeGetTime) the device has delivered `ahead` sample frames
    // past the read point. Looks before any sound came say nothing.
    void Observe(uint32_t nowMs, uint32_t ahead);

    // Half a second of sound was seen past the read point.
    bool Settled() const { return m_seenFrames >= m_rate / 2; }

    // The read point moved (a pause left sound out): start again from it.
    void Restart() { *this = SoundClock(m_rate); }

    // Where the read point's sound belongs in the film, in sample frames
    // after its first frame: the film started at filmStartMs and has left
    // out pausedMs since. Negative: the sound was captured before the film
    // began. 0 before any sound was seen.
    int64_t FilmFrames(uint32_t filmStartMs, uint32_t pausedMs) const;

private:
    uint32_t m_rate;
    uint32_t m_seenFrames = 0;
    bool m_seen = false;
    uint32_t m_firstLookMs = 0;
    // The read point's capture time, in microseconds after the first look
    // that saw sound: the earliest bound so far.
    int64_t m_boundUs = 0;
};
