#include "mp4/Mp4SampleEntries.h"

#include "mp4/AvcConfig.h"
#include "mp4/Mp4Bytes.h"

namespace {

constexpr uint32_t Dpi72 = 0x00480000;  // 16.16
constexpr uint8_t PictureParameterSet = 8;

void PutEntryStart(Mp4Bytes& b) {
    b.Zeros(6);
    b.U16(1);  // the first data reference: this file
}

}  // namespace

std::vector<uint8_t> AvcSampleEntry(uint32_t width, uint32_t height,
                                    const std::vector<uint8_t>& avcConfiguration) {
    Mp4Bytes b;
    const size_t entry = b.Open(BoxType("avc1"));
    PutEntryStart(b);
    b.Zeros(16);  // pre-defined and reserved
    b.U16(uint16_t(width));
    b.U16(uint16_t(height));
    b.U32(Dpi72);
    b.U32(Dpi72);
    b.U32(0);
    b.U16(1);       // one frame a sample
    b.Zeros(32);    // no compressor name
    b.U16(0x18);    // colour without alpha
    b.U16(0xFFFF);  // pre-defined -1
    const size_t avcC = b.Open(BoxType("avcC"));
    b.Append(avcConfiguration);
    b.Close(avcC);
    const size_t pasp = b.Open(BoxType("pasp"));
    b.U32(1);
    b.U32(1);
    b.Close(pasp);
    b.Close(entry);
    return b.Data();
}

std::vector<uint8_t> AacSampleEntry(uint32_t sampleRate, uint16_t channels,
                                    const std::vector<uint8_t>& descriptors) {
    Mp4Bytes b;
    const size_t entry = b.Open(BoxType("mp4a"));
    PutEntryStart(b);
    b.Zeros(8);  // version 0, reserved
    b.U16(channels);
    b.U16(16);  // sample size
    b.U32(0);   // pre-defined, reserved
    b.U32(sampleRate << 16);
    const size_t esds = b.OpenFull(BoxType("esds"), 0, 0);
    b.Append(descriptors);
    b.Close(esds);
    b.Close(entry);
    return b.Data();
}

std::vector<uint8_t> VideoTrackEntry(const Mp4VideoTrack& v) {
    AvcSequenceInfo sps;
    const bool fits = ReadAvcSequenceInfo(v.sps, sps) && !v.pps.empty() &&
                      (v.pps[0] & 0x1F) == PictureParameterSet && v.sps.size() <= UINT16_MAX &&
                      v.pps.size() <= UINT16_MAX && v.width > 0 && v.width <= UINT16_MAX &&
                      v.height > 0 && v.height <= UINT16_MAX && v.timescale > 0;
    if (!fits) return {};
    return AvcSampleEntry(v.width, v.height, AvcDecoderConfiguration(v.sps, v.pps, sps));
}

bool AudioTrackFits(const Mp4AudioTrack& a) {
    return a.audioSpecificConfig.size() >= 2 && a.sampleRate > 0 && a.sampleRate <= UINT16_MAX &&
           a.channels > 0;
}
