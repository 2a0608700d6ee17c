#include "engine/FrameSchedule.h"

uint32_t ElapsedRecordingTime(uint32_t now, uint32_t pausedTime, uint32_t start) {
    return now - pausedTime - start;
}

uint32_t FramePosition(bool firstFrame, uint32_t previousPosition, uint32_t elapsedMs,
                       int recordInterval) {
    if (firstFrame) return 0;
    if (recordInterval > 1000) return previousPosition + 1;
    return static_cast<uint32_t>(elapsedMs * 0.001 * (1000.0 / recordInterval));
}

uint32_t NextGrabDue(uint32_t position, uint32_t elapsedAtGrab, int recordInterval) {
    const auto interval = static_cast<uint32_t>(recordInterval);
    if (recordInterval > 1000) return (elapsedAtGrab / interval + 1) * interval;
    // The position rule works in floating point and may put an exact multiple
    // a hair below it; the due time follows the rule, not the multiple.
    uint32_t due = (position + 1) * interval;
    while (FramePosition(false, position, due, recordInterval) <= position) ++due;
    return due;
}

uint32_t SleepBeforeGrab(uint32_t due, uint32_t elapsedMs) {
    // Signed difference: a due time just behind the clock is late, not far ahead.
    const auto ahead = static_cast<int32_t>(due - elapsedMs);
    if (ahead <= 0) return 0;
    return static_cast<uint32_t>(ahead) < SleepSliceMs ? static_cast<uint32_t>(ahead)
                                                        : SleepSliceMs;
}

bool ShouldWriteFrame(bool firstFrame, uint32_t position, uint32_t lastWrittenPosition) {
    return firstFrame || position > lastWrittenPosition;
}

bool StatusDue(uint32_t elapsedMs, uint32_t& lastHalfSecond) {
    const uint32_t half = elapsedMs / 500;
    if (half == lastHalfSecond) return false;
    lastHalfSecond = half;
    return true;
}

int StatusSeconds(uint32_t elapsedMs) { return static_cast<int>(elapsedMs * 0.001f); }
