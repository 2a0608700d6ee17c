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
