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

uint32_t ResumeOffset(uint32_t offsetBeforePause, uint64_t skipBytes, const AudioRingLayout& ring) {
    return static_cast<uint32_t>((offsetBeforePause + skipBytes) % ring.ringSize);
}

bool AheadOfCursor(uint32_t offset, uint32_t readCursor, const AudioRingLayout& ring) {
    // Seen from the offset, the cursor is almost a whole ring ahead only when
    // the offset lies just past it.
    return CapturedBytes(readCursor, offset, ring.ringSize) > ring.ringSize - ring.blockSize;
}

unsigned char SilenceByte(uint32_t bitsPerSample) { return bitsPerSample == 8 ? 0x80 : 0; }
