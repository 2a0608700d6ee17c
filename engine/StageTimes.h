// What each frame cost in the recording's stages, kept only when a
// benchmark asks for it. Each list has one writer (the grabbing thread or
// the writing thread); read them after the recording has ended.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

struct StageTimes {
    std::vector<double> grabMs;      // grab and overlays, every grab
    std::vector<double> compressMs;  // every frame handed to the compressor
    std::vector<double> writeMs;     // every frame written into the file
    std::atomic<uint32_t> dropped{0};  // grabs refused by a full queue, readable any time
};

// Milliseconds since `since`, for the lists above.
inline double MsSince(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
        .count();
}
