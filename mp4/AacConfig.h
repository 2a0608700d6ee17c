// The MPEG-4 descriptors of an AAC track ('esds' payload): the elementary
// stream, its decoder configuration with the AudioSpecificConfig, and the
// sync layer.
#pragma once

#include <cstdint>
#include <vector>

struct AacStreamFigures {
    uint16_t esId = 0;
    uint32_t bufferBytes = 0;  // the largest frame
    uint32_t maxBitrate = 0, averageBitrate = 0;
};

// The payload after the full box's version and flags.
std::vector<uint8_t> AacDescriptors(const std::vector<uint8_t>& audioSpecificConfig,
                                    const AacStreamFigures& figures);
