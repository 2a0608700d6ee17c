#include "engine/AudioRing.h"

AudioRingLayout ComputeAudioRing(PcmUnits units) {
    const uint32_t bytesPerSecond = units.rate * units.frameBytes;
    const uint32_t block = bytesPerSecond >= 8192 ? units.rate / 8 * units.frameBytes
                                                  : 1024 - 1024 % units.frameBytes;
    return {block, AudioRingBlocks * block};
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

uint64_t SpanFrames(uint64_t ms, uint32_t rate) { return ms * rate / 1000; }

uint64_t SpanBytes(uint64_t ms, PcmUnits units) {
    return SpanFrames(ms, units.rate) * units.frameBytes;
}

uint32_t BytesBeforePause(uint32_t captured, uint32_t lateMs, PcmUnits units) {
    const uint64_t late = SpanBytes(lateMs, units);
    const uint32_t before = captured > late ? captured - static_cast<uint32_t>(late) : 0;
    return before - before % units.frameBytes;
}

uint32_t OffsetAfterPause(uint32_t offsetBeforePause, uint64_t pauseBytes, uint32_t readCursor,
                          const AudioRingLayout& ring) {
    const uint32_t target =
        static_cast<uint32_t>((offsetBeforePause + pauseBytes) % ring.ringSize);
    // Seen from the target, the cursor is almost a whole ring ahead only when
    // the target lies just past it.
    const bool beyondCursor =
        CapturedBytes(readCursor, target, ring.ringSize) > ring.ringSize - ring.blockSize;
    return beyondCursor ? readCursor : target;
}

unsigned char SilenceByte(uint32_t bitsPerSample) { return bitsPerSample == 8 ? 0x80 : 0; }
