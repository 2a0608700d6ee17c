#include <gtest/gtest.h>

#include "engine/AudioRing.h"

TEST(AudioRing, BlockAndRingSizesForEveryCandidateFormat) {
    struct Expected {
        uint32_t rate, bits, channels, block, ring;
    };
    const Expected table[] = {
        {8000, 8, 1, 1024, 16384},     {8000, 16, 1, 2000, 32000},    {8000, 8, 2, 2000, 32000},
        {8000, 16, 2, 4000, 64000},    {11025, 8, 1, 1378, 22048},    {11025, 16, 1, 2756, 44096},
        {11025, 8, 2, 2756, 44096},    {11025, 16, 2, 5512, 88192},   {22050, 8, 1, 2756, 44096},
        {22050, 16, 1, 5512, 88192},   {22050, 8, 2, 5512, 88192},    {22050, 16, 2, 11024, 176384},
        {44100, 8, 1, 5512, 88192},    {44100, 16, 1, 11024, 176384}, {44100, 8, 2, 11024, 176384},
        {44100, 16, 2, 22048, 352768},
    };
    for (const Expected& e : table) {
        const uint32_t align = e.bits / 8 * e.channels;
        const AudioRingLayout ring = ComputeAudioRing({e.rate, align});
        EXPECT_EQ(ring.blockSize, e.block) << e.rate << " " << e.bits << " " << e.channels;
        EXPECT_EQ(ring.ringSize, e.ring) << e.rate << " " << e.bits << " " << e.channels;
        EXPECT_EQ(ring.blockSize % align, 0u);
    }
}

TEST(AudioRing, NotificationsSitAtTheLastByteOfEachBlock) {
    EXPECT_EQ(BlockEndOffset(1, 22048), 22047u);
    EXPECT_EQ(BlockEndOffset(16, 22048), 352767u);
}

TEST(AudioRing, OnlyWholeBlocksAreTakenAndWrappedRangesAreContiguous) {
    const uint32_t block = 1000, ring = 16000;
    EXPECT_EQ(WholeBlockBytes(CapturedBytes(999, 0, ring), block), 0u);  // less than a block
    EXPECT_EQ(WholeBlockBytes(CapturedBytes(2500, 0, ring), block), 2000u);
    // The read cursor has wrapped past the ring's end: 15000..16000 and 0..1200.
    const uint32_t captured = CapturedBytes(1200, 15000, ring);
    EXPECT_EQ(captured, 2200u);
    const uint32_t take = WholeBlockBytes(captured, block);
    EXPECT_EQ(take, 2000u);
    // Locked as 1000 bytes at the end and 1000 at the start.
    EXPECT_EQ(OffsetAfterTake(15000, 1000, true, 1000, ring), 1000u);
    EXPECT_EQ(OffsetAfterTake(15000, 1000, false, 0, ring), 0u);
    EXPECT_EQ(OffsetAfterTake(3000, 2000, false, 0, ring), 5000u);
    EXPECT_EQ(CapturedBytes(4000, 4000, ring), 0u);
}

TEST(AudioRing, AfterAPauseReadingSkipsExactlyThePausesSound) {
    const AudioRingLayout ring = ComputeAudioRing({44100, 4});  // 22048-byte blocks
    EXPECT_EQ(SpanBytes(1000, {44100, 4}), 176400u);
    EXPECT_EQ(SpanBytes(1, {44100, 4}), 176u);
    EXPECT_EQ(SpanBytes(3, {22050, 2}), 132u);  // whole sample frames
    EXPECT_EQ(SpanBytes(1, {11025, 1}), 11u);
    EXPECT_EQ(SpanBytes(1, {11025, 4}), 44u);
    // Seven hours of pause at 44.1 kHz stereo is more bytes than 32 bits hold.
    EXPECT_EQ(SpanBytes(7 * 3600 * 1000, {44100, 4}), 7ull * 3600 * 176400);
    // A 1 s pause from offset 300000: the ring wraps once.
    EXPECT_EQ(ResumeOffset(300000, 176400, ring), (300000 + 176400) % ring.ringSize);
    // A pause longer than the ring still lands where the time says.
    EXPECT_EQ(ResumeOffset(0, 3 * ring.ringSize + 100, ring), 100u);
    EXPECT_EQ(ResumeOffset(0, 20000ull * ring.ringSize + 100, ring), 100u);
    // The device has not delivered an offset just past its cursor; one
    // behind it, or far ahead (so a whole ring behind), it has.
    EXPECT_TRUE(AheadOfCursor(6160, 6064, ring));
    EXPECT_FALSE(AheadOfCursor(6064, 6064, ring));
    EXPECT_FALSE(AheadOfCursor(6000, 6064, ring));
    EXPECT_FALSE(AheadOfCursor(6064 + ring.blockSize, 6064, ring));
    EXPECT_TRUE(AheadOfCursor(100, ring.ringSize - 100, ring));  // across the wrap
}

TEST(AudioRing, AThreadThatParksLateKeepsOnlyTheSoundBeforeThePauseWasAskedFor) {
    // 0.5 s held in the ring, the thread 0.2 s late: 0.3 s is kept.
    EXPECT_EQ(BytesBeforePause(88200, 200, {44100, 4}), 52920u);
    EXPECT_EQ(BytesBeforePause(88200, 0, {44100, 4}), 88200u);
    // Later than everything the ring holds: nothing.
    EXPECT_EQ(BytesBeforePause(88200, 900, {44100, 4}), 0u);
    EXPECT_EQ(BytesBeforePause(4000, 4000 * 1000, {8000, 1}), 0u);
    // Whole sample frames, whatever the ring held.
    EXPECT_EQ(BytesBeforePause(1003, 0, {44100, 4}), 1000u);
    EXPECT_EQ(BytesBeforePause(44101, 3, {22050, 2}), 43968u);
    EXPECT_EQ(BytesBeforePause(11025, 100, {11025, 1}), 9923u);
}

TEST(AudioRing, SilenceIsTheMiddleOfUnsigned8BitAndZeroOf16Bit) {
    EXPECT_EQ(SilenceByte(8), 0x80);
    EXPECT_EQ(SilenceByte(16), 0);
}
