#include <gtest/gtest.h>

#include <cstdint>

#include "engine/SoundClock.h"

namespace {

// A device that starts delivering at startMs and hands over its sound in
// packets of packetMs, looked at every lookMs from the film's start (at
// filmStartMs) until half a second of sound was seen. Sound comes at
// `rate` frames a second from startMs on.
int64_t PlacedFrames(uint32_t rate, uint32_t filmStartMs, uint32_t startMs, uint32_t packetMs,
                     uint32_t lookMs, uint32_t pausedMs = 0) {
    SoundClock clock(rate);
    for (uint32_t t = filmStartMs; !clock.Settled(); t += lookMs) {
        const uint32_t since = t - startMs;
        const bool started = static_cast<int32_t>(since) >= 0;
        const uint64_t delivered = started ? since / packetMs * packetMs : 0;
        clock.Observe(t, static_cast<uint32_t>(delivered * rate / 1000));
    }
    return clock.FilmFrames(filmStartMs, pausedMs);
}

}  // namespace

TEST(SoundClock, ADeviceThatStartsLateHasItsFirstSoundPlacedWhenItWasTaken) {
    for (const uint32_t rate : {8000u, 11025u, 22050u, 44100u}) {
        // 1.5 s late, 20 ms packets, looked at every 7 ms: within 1 ms.
        EXPECT_NEAR(PlacedFrames(rate, 10000, 11500, 20, 7), 1.5 * rate, rate / 1000.0) << rate;
        // Looked at only every 50 ms, packets of 10 ms: the closest look is
        // at most 10 ms after a packet.
        EXPECT_NEAR(PlacedFrames(rate, 10000, 11503, 10, 50), 1.503 * rate, rate / 100.0) << rate;
    }
}

TEST(SoundClock, SoundFromBeforeTheFilmOrAfterAPauseIsPlacedAgainstTheFilm) {
    // The device started 200 ms before the film did: negative.
    EXPECT_NEAR(PlacedFrames(22050, 10000, 9800, 10, 7), -0.2 * 22050, 22.05);
    // 400 ms paused before the read point: that much earlier in the film.
    EXPECT_NEAR(PlacedFrames(8000, 10000, 11500, 10, 7, 400), 1.1 * 8000, 8);
    // The clock wraps between the film's start and the sound.
    EXPECT_NEAR(PlacedFrames(44100, 0xFFFFFC18u, 1000, 10, 7), 2.0 * 44100, 44.1);
}

TEST(SoundClock, APauseCutsTheSoundWhereItsRequestCameNotWhereThePositionLagged) {
    // 20 ms packets from 11.5 s on, looked at every 50 ms, the read point
    // following in blocks of 0.125 s: at a pause asked for at 15.010 s the
    // sound up to then is what the read point still lacks, though the last
    // packet before that moment came at 15.000 s.
    for (const uint32_t rate : {8000u, 22050u, 44100u}) {
        SoundClock clock(rate);
        uint64_t taken = 0;
        for (uint32_t t = 10000; t <= 15000; t += 50) {
            const uint64_t delivered = t < 11500 ? 0 : (t - 11500) / 20 * 20 * rate / 1000;
            clock.Observe(t, static_cast<uint32_t>(delivered - taken));
            const uint64_t block = rate / 8;
            while (delivered - taken >= block) {
                clock.Advance(block);
                taken += block;
            }
        }
        const double expected = 3.51 * rate - static_cast<double>(taken);
        EXPECT_NEAR(clock.FramesUntil(15010), expected, rate / 1000.0) << rate;
        // Leaving the pause's second out puts the read point a second on.
        clock.Advance(rate);
        EXPECT_NEAR(clock.FramesUntil(16010), expected, rate / 1000.0) << rate;
    }
}

TEST(SoundClock, LooksWithoutSoundSayNothingAndARestartForgetsTheOldReadPoint) {
    SoundClock clock(8000);
    clock.Observe(10500, 0);
    EXPECT_FALSE(clock.Known());
    EXPECT_EQ(clock.FilmFrames(10000, 0), 0);
    clock.Observe(12000, 4000);  // half a second seen at 2 s: taken from 1.5 s on
    EXPECT_TRUE(clock.Settled());
    EXPECT_EQ(clock.FilmFrames(10000, 0), 12000);
    clock.Restart();
    EXPECT_FALSE(clock.Known());
    clock.Observe(15000, 800);  // 0.1 s past a new read point at 4.9 s
    EXPECT_EQ(clock.FilmFrames(10000, 1000), 8000 * 39 / 10);
}
