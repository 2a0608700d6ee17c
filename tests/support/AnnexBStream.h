// An H.264 Annex B stream (as ffmpeg's raw "h264" output writes it) split
// into access units, each with its picture order count, for feeding whole
// units to a writer as an encoder would.
#pragma once

#include <cstdint>
#include <vector>

struct AvcAccessUnit {
    std::vector<uint8_t> bytes;  // Annex B, its start codes included
    bool keyFrame = false;
    int32_t pictureOrder = 0;  // within its run from one IDR picture to the next
};

struct AvcStream {
    std::vector<uint8_t> sps, pps;  // the first of each, no start code
    std::vector<AvcAccessUnit> units;
};

// False for what this does not follow: no SPS or PPS, scaling matrices,
// picture order count type 1, field pictures.
bool ParseAnnexBStream(const std::vector<uint8_t>& data, AvcStream& out);
