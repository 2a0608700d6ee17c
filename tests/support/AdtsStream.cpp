#include "tests/support/AdtsStream.h"

#include <cstddef>

namespace {

const uint32_t Rates[13] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                            22050, 16000, 12000, 11025, 8000,  7350};

}  // namespace

bool ParseAdtsStream(const std::vector<uint8_t>& data, AdtsStream& out) {
    out = {};
    for (size_t at = 0; at < data.size();) {
        const uint8_t* h = data.data() + at;
        if (data.size() - at < 7 || h[0] != 0xFF || (h[1] & 0xF0) != 0xF0) return false;
        const size_t headerBytes = h[1] & 1 ? 7 : 9;  // a CRC follows unless absent
        const uint32_t profile = h[2] >> 6, rate = h[2] >> 2 & 0xF;
        const uint32_t channels = (h[2] & 1) << 2 | h[3] >> 6;
        const size_t length = size_t(h[3] & 3) << 11 | size_t(h[4]) << 3 | h[5] >> 5;
        if (rate >= 13 || length <= headerBytes || length > data.size() - at) return false;
        if (out.frames.empty()) {
            const uint32_t asc = (profile + 1) << 11 | rate << 7 | channels << 3;
            out.audioSpecificConfig = {uint8_t(asc >> 8), uint8_t(asc)};
            out.sampleRate = Rates[rate];
            out.channels = uint16_t(channels);
        }
        out.frames.emplace_back(h + headerBytes, h + length);
        at += length;
    }
    return !out.frames.empty();
}
