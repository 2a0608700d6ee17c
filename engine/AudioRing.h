// The arithmetic of the audio capture ring: 16 blocks of about 125 ms each,
// taken from the ring in whole blocks only and written as stream samples.
// Everything is counted in the format's own units: sample frames of
// frameBytes bytes, rate of them a second.
#pragma once

#include <cstdint>

constexpr int AudioRingBlocks = 16;

struct PcmUnits {
    uint32_t rate;        // sample frames a second
    uint32_t frameBytes;  // bytes of one sample frame, all channels
};

struct AudioRingLayout {
    uint32_t blockSize;  // bytes, a whole number of sample frames
    uint32_t ringSize;   // bytes, AudioRingBlocks blocks
};

// One eighth of a second per block (1024 bytes, in whole sample frames, when
// a second holds less than 8192 bytes). frameBytes must not be 0.
AudioRingLayout ComputeAudioRing(PcmUnits units);

// Where the notification for the end of block k (1..16) sits in the ring.
uint32_t BlockEndOffset(int k, uint32_t blockSize);

// Bytes captured since nextReadOffset, up to the read cursor, in ring order.
uint32_t CapturedBytes(uint32_t readCursor, uint32_t nextReadOffset, uint32_t ringSize);

// The part of the captured bytes that fills whole units (blocks, or sample
// frames when the ring is emptied before a pause or at the end).
uint32_t WholeBlockBytes(uint32_t captured, uint32_t blockSize);

// Whole sample frames in a span of time, and their bytes.
uint64_t SpanFrames(uint64_t ms, uint32_t rate);
uint64_t SpanBytes(uint64_t ms, PcmUnits units);

// Of the sound the ring holds when the thread reaches its safe point, the
// part captured before the pause was asked for, in whole sample frames: a
// thread that comes lateMs late (starved under load) must leave out what
// came after the request, which belongs to the pause.
uint32_t BytesBeforePause(uint32_t captured, uint32_t lateMs, PcmUnits units);

// Where reading goes on after a pause: as many bytes past the point reached
// before it as are left out, so the sound stays with the picture, which
// leaves the pause out too.
uint32_t ResumeOffset(uint32_t offsetBeforePause, uint64_t skipBytes, const AudioRingLayout& ring);

// Whether an offset lies just ahead of the read cursor (less than a block),
// where the device has not delivered yet.
bool AheadOfCursor(uint32_t offset, uint32_t readCursor, const AudioRingLayout& ring);

// The read offset after taking a locked range of one or two pieces.
uint32_t OffsetAfterTake(uint32_t nextReadOffset, uint32_t firstLength, bool hasSecondPiece,
                         uint32_t secondLength, uint32_t ringSize);

// The byte of silence: unsigned 8-bit samples are silent at their middle.
unsigned char SilenceByte(uint32_t bitsPerSample);
