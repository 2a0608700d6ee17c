// The H.264 decoder configuration ('avcC') that an MP4 sample entry carries,
// built from the encoder's sequence and picture parameter sets.
#pragma once

#include <cstdint>
#include <vector>

struct AvcSequenceInfo {
    uint8_t profile = 0, compatibility = 0, level = 0;
    uint32_t chromaFormat = 1, bitDepthLuma = 8, bitDepthChroma = 8;
};

// From a sequence parameter set NAL unit (header byte first, no start code);
// false when it is not one or is cut short.
bool ReadAvcSequenceInfo(const std::vector<uint8_t>& sps, AvcSequenceInfo& info);

// The 'avcC' box's payload: one SPS and one PPS, 4-byte unit lengths.
std::vector<uint8_t> AvcDecoderConfiguration(const std::vector<uint8_t>& sps,
                                             const std::vector<uint8_t>& pps,
                                             const AvcSequenceInfo& info);
