// The frame loop's arithmetic: when the next frame is grabbed, which sample
// position it takes, whether it is written, and when progress is reported.
#pragma once

#include <cstdint>

// Recording time so far, with pauses removed (unsigned, wraps like the clock).
uint32_t ElapsedRecordingTime(uint32_t now, uint32_t pausedTime, uint32_t start);

// Position of a grabbed frame. Up to 1000 ms between frames it is the number
// of whole intervals elapsed, so the film keeps wall-clock time; above that
// every frame takes the next position.
uint32_t FramePosition(bool firstFrame, uint32_t previousPosition, uint32_t elapsedMs,
                       int recordInterval);

// The first frame is written, later ones only past the last written
// position; a second grab in the same interval is dropped. (A later grab that
// still falls on position 0, after an early wake-up, is dropped too rather
// than written over the first frame.)
bool ShouldWriteFrame(bool firstFrame, uint32_t position, uint32_t lastWrittenPosition);

// Progress is posted after a written frame whenever the half-second count
// changes; returns whether it did and updates lastHalfSecond.
bool StatusDue(uint32_t elapsedMs, uint32_t& lastHalfSecond);

// Whole seconds shown with the progress.
int StatusSeconds(uint32_t elapsedMs);

// The schedule: a grab is due at the start of every interval of recording
// time (pauses removed), whatever the previous frame cost. The next one is
// due where the position rule first gives a position past this frame's;
// above 1000 ms, one interval after this grab's interval began.
uint32_t NextGrabDue(uint32_t position, uint32_t elapsedAtGrab, int recordInterval);

// How long to sleep before the grab due at `due`, in slices of at most
// 50 ms so that a stop or a pause is seen between them; 0 when it is due
// or late (the grab is taken at once).
constexpr uint32_t SleepSliceMs = 50;
uint32_t SleepBeforeGrab(uint32_t due, uint32_t elapsedMs);
