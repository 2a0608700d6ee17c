// The arithmetic of the audio capture ring: 16 blocks of about 125 ms each,
// taken from the ring in whole blocks only and written as stream samples.
#pragma once

#include <cstdint>

constexpr int AudioRingBlocks = 16;

struct AudioRingLayout {
    uint32_t blockSize;  // bytes, a whole number of sample frames
    uint32_t ringSize;   // bytes, AudioRingBlocks blocks
};

// One eighth of a second per block (1024 bytes below 8192 bytes a second),
// cut down to whole sample frames. blockAlign must not be 0.
AudioRingLayout ComputeAudioRing(uint32_t avgBytesPerSec, uint16_t blockAlign);

// Where the notification for the end of block k (1..16) sits in the ring.
uint32_t BlockEndOffset(int k, uint32_t blockSize);

// Bytes captured since nextReadOffset, up to the read cursor, in ring order.
uint32_t CapturedBytes(uint32_t readCursor, uint32_t nextReadOffset, uint32_t ringSize);

// The part of the captured bytes that fills whole units (blocks, or sample
// frames when the ring is emptied before a pause).
uint32_t WholeBlockBytes(uint32_t captured, uint32_t blockSize);

// Bytes of sound in a span of time (a pause, a lead-in), in whole sample frames.
uint32_t SpanBytes(uint32_t pauseMs, uint32_t avgBytesPerSec, uint16_t blockAlign);

// Of the sound the ring holds when the thread reaches its safe point, the
// part captured before the pause was asked for, in whole sample frames: a
// thread that comes lateMs late (starved under load) must leave out what
// came after the request, which belongs to the pause.
uint32_t BytesBeforePause(uint32_t captured, uint32_t lateMs, uint32_t avgBytesPerSec,
                          uint16_t blockAlign);

// Where reading goes on after a pause: as many bytes past the point reached
// before it as the pause lasted, so the sound stays with the picture, which
// leaves the pause out too. A point that the device has not reached yet (the
// thread parked late) becomes the read cursor.
uint32_t OffsetAfterPause(uint32_t offsetBeforePause, uint32_t pauseBytes, uint32_t readCursor,
                          const AudioRingLayout& ring);

// The read offset after taking a locked range of one or two pieces.
uint32_t OffsetAfterTake(uint32_t nextReadOffset, uint32_t firstLength, bool hasSecondPiece,
                         uint32_t secondLength, uint32_t ringSize);

// How long into the film the first sound the device delivered was taken:
// the capturedBytes in the ring at now began that long before now. The
// sound stream starts with this much silence, so that it stays with the
// picture. 0 when the sound began before the film did.
uint32_t LeadInMs(uint32_t now, uint32_t capturedBytes, uint32_t avgBytesPerSec,
                  uint32_t filmStart, uint32_t pausedTime);
