// When the sound at the ring's read point was captured, on timeGetTime's
// clock, from the capture position the device reports. Each look at the
// position bounds it: what the device has delivered by a moment was
// captured before that moment, and it came in at the format's rate. The
// earliest of these bounds is the closest: a device delivers in packets
// (10 to 20 ms under Wine), so the position seen at a look is as old as the
// last packet, and only the looks just after a packet are close. Half a
// second of sound gives enough of them, also when a device starts seconds
// late or delivers in bursts.
#pragma once

#include <cstdint>

class SoundClock {
public:
    explicit SoundClock(uint32_t rate) : m_rate(rate) {}

    // At nowMs the device has delivered `ahead` sample frames past the read
    // point. Looks before any sound came say nothing.
    void Observe(uint32_t nowMs, uint32_t ahead);

    // The read point moved on by `frames` (taken, or left out for a pause).
    void Advance(uint64_t frames) { m_advanced += frames; }

    // The read point moved somewhere unknown: start again from it.
    void Restart() { *this = SoundClock(m_rate); }

    // Some sound was seen, and half a second of it.
    bool Known() const { return m_seen; }
    bool Settled() const { return m_seenFrames >= m_rate / 2; }

    // Sample frames from the read point to the sound taken at momentMs;
    // negative when that sound came before the read point.
    int64_t FramesUntil(uint32_t momentMs) const;

    // Where the read point's sound belongs in the film, in sample frames
    // after its first frame: the film started at filmStartMs and has left
    // out pausedMs since. Negative: the sound was captured before the film
    // began. 0 before any sound was seen.
    int64_t FilmFrames(uint32_t filmStartMs, uint32_t pausedMs) const;

private:
    // Microseconds from momentMs to when the read point's sound was taken.
    int64_t ReadPointAfterUs(uint32_t momentMs) const;
    int64_t ToFrames(int64_t us) const;

    uint32_t m_rate;
    uint64_t m_seenFrames = 0;
    uint64_t m_advanced = 0;  // frames the read point moved since the first look
    bool m_seen = false;
    uint32_t m_firstLookMs = 0;
    // When the read point of the first look was taken, in microseconds
    // after that look (so negative): the earliest bound so far.
    int64_t m_boundUs = 0;
};
