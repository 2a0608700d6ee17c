// An AAC stream in ADTS frames (as ffmpeg's "adts" output writes it) split
// into raw frames, with the AudioSpecificConfig its headers describe.
#pragma once

#include <cstdint>
#include <vector>

struct AdtsStream {
    std::vector<uint8_t> audioSpecificConfig;
    uint32_t sampleRate = 0;
    uint16_t channels = 0;
    std::vector<std::vector<uint8_t>> frames;  // without their headers
};

// False at a broken header or a frame cut short.
bool ParseAdtsStream(const std::vector<uint8_t>& data, AdtsStream& out);
