#include "engine/AudioRing.h"

AudioRingLayout ComputeAudioRing(uint32_t avgBytesPerSec, uint16_t blockAlign) {
    uint16_t block = avgBytesPerSec >= 8192 ? static_cast<uint16_t>(avgBytesPerSec / 8) : 1024;
    block = static_cast<uint16_t>(block - block % blockAlign);
    return {block, AudioRingBlocks * static_cast<uint32_t>(block)};
}

uint32_t BlockEndOffset(int k, uint32_t blockSize) { return k * blockSize - 1; }

uint32_t CapturedBytes(uint32_t readCursor, uint32_t nextReadOffset, uint32_t ringSize) {
    return readCursor >= nextReadOffset ? readCursor - nextReadOffset
                                        : readCursor + ringSize - nextReadOffset;
}

uint32_t WholeBlockBytes(uint32_t captured, uint32_t blockSize) {
    return captured - captured % blockSize;
}

uint32_t OffsetAfterTake(uint32_t nextReadOffset, uint32_t firstLength, bool hasSecondPiece,
                         uint32_t secondLength, uint32_t ringSize) {
    uint32_t offset = (nextReadOffset + firstLength) % ringSize;
    if (hasSecondPiece) offset = (offset + secondLength) % ringSize;
    return offset;
}

uint32_t SpanBytes(uint32_t pauseMs, uint32_t avgBytesPerSec, uint16_t blockAlign) {
    const uint64_t bytes = static_cast<uint64_t>(pauseMs) * avgBytesPerSec / 1000;
    return static_cast<uint32_t>(bytes - bytes % blockAlign);
}

uint32_t BytesBeforePause(uint32_t captured, uint32_t lateMs, uint32_t avgBytesPerSec,
                          uint16_t blockAlign) {
    const uint32_t late = SpanBytes(lateMs, avgBytesPerSec, blockAlign);
    const uint32_t before = captured > late ? captured - late : 0;
    return before - before % blockAlign;
}

uint32_t OffsetAfterPause(uint32_t offsetBeforePause, uint32_t pauseBytes, uint32_t readCursor,
                          const AudioRingLayout& ring) {
    const uint32_t target = static_cast<uint32_t>(
        (static_cast<uint64_t>(offsetBeforePause) + pauseBytes) % ring.ringSize);
    // Seen from the target, the cursor is almost a whole ring ahead only when
    // the target lies just past it.
    const bool beyondCursor =
        CapturedBytes(readCursor, target, ring.ringSize) > ring.ringSize - ring.blockSize;
    return beyondCursor ? readCursor : target;
}

uint32_t LeadInMs(uint32_t now, uint32_t capturedBytes, uint32_t avgBytesPerSec,
                  uint32_t filmStart, uint32_t pausedTime) {
    if (avgBytesPerSec == 0) return 0;
    const uint32_t capturedMs =
        static_cast<uint32_t>(static_cast<uint64_t>(capturedBytes) * 1000 / avgBytesPerSec);
    const int32_t lead = static_cast<int32_t>(now - capturedMs - filmStart - pausedTime);
    return lead > 0 ? static_cast<uint32_t>(lead) : 0;
}
