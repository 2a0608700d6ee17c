#include "mp4/AvcConfig.h"

#include "mp4/AvcBits.h"
#include "mp4/Mp4Bytes.h"

namespace {

constexpr int SequenceParameterSet = 7;

// The profiles whose SPS names its chroma format and bit depths, and whose
// 'avcC' repeats them.
bool HasChromaFields(uint8_t profile) {
    switch (profile) {
        case 100:
        case 110:
        case 122:
        case 244:
        case 44:
        case 83:
        case 86:
        case 118:
        case 128:
        case 138:
        case 139:
        case 134:
        case 135:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool ReadAvcSequenceInfo(const std::vector<uint8_t>& sps, AvcSequenceInfo& info) {
    if (sps.size() < 4 || (sps[0] & 0x1F) != SequenceParameterSet) return false;
    info = {};
    info.profile = sps[1];
    info.compatibility = sps[2];
    info.level = sps[3];
    if (!HasChromaFields(info.profile)) return true;
    AvcBits bits(sps.data(), sps.size());
    bits.Bits(24);  // profile, compatibility, level
    bits.Ue();      // seq_parameter_set_id
    info.chromaFormat = bits.Ue();
    if (info.chromaFormat == 3) bits.Bits(1);  // separate_colour_plane_flag
    info.bitDepthLuma = bits.Ue() + 8;
    info.bitDepthChroma = bits.Ue() + 8;
    return bits.Ok() && info.chromaFormat <= 3 && info.bitDepthLuma <= 14 &&
           info.bitDepthChroma <= 14;
}

std::vector<uint8_t> AvcDecoderConfiguration(const std::vector<uint8_t>& sps,
                                             const std::vector<uint8_t>& pps,
                                             const AvcSequenceInfo& info) {
    Mp4Bytes b;
    b.U8(1);  // configurationVersion
    b.U8(info.profile);
    b.U8(info.compatibility);
    b.U8(info.level);
    b.U8(0xFC | 3);  // 4-byte unit lengths
    b.U8(0xE0 | 1);
    b.U16(uint16_t(sps.size()));
    b.Append(sps);
    b.U8(1);
    b.U16(uint16_t(pps.size()));
    b.Append(pps);
    if (HasChromaFields(info.profile)) {
        b.U8(uint8_t(0xFC | info.chromaFormat));
        b.U8(uint8_t(0xF8 | (info.bitDepthLuma - 8)));
        b.U8(uint8_t(0xF8 | (info.bitDepthChroma - 8)));
        b.U8(0);  // no SPS extensions
    }
    return b.Data();
}
