#include "mp4/AacConfig.h"

#include "mp4/Mp4Bytes.h"

namespace {

constexpr uint8_t EsDescriptorTag = 3, DecoderConfigTag = 4, DecoderSpecificTag = 5,
                  SyncLayerTag = 6;
constexpr uint8_t Mpeg4Audio = 0x40;
constexpr uint8_t AudioStream = 5;

// A descriptor: its tag, its size in the expandable form (7 bits a byte,
// high bit set on all but the last), its body.
void PutDescriptor(Mp4Bytes& out, uint8_t tag, const std::vector<uint8_t>& body) {
    out.U8(tag);
    int bytes = 1;
    while (bytes < 4 && body.size() >> (7 * bytes)) ++bytes;
    for (int i = bytes - 1; i >= 0; --i)
        out.U8(uint8_t((body.size() >> (7 * i) & 0x7F) | (i ? 0x80 : 0)));
    out.Append(body);
}

}  // namespace

std::vector<uint8_t> AacDescriptors(const std::vector<uint8_t>& audioSpecificConfig,
                                    const AacStreamFigures& figures) {
    Mp4Bytes config;
    config.U8(Mpeg4Audio);
    config.U8(AudioStream << 2 | 1);  // not upstream, reserved bit set
    config.U24(figures.bufferBytes);
    config.U32(figures.maxBitrate);
    config.U32(figures.averageBitrate);
    PutDescriptor(config, DecoderSpecificTag, audioSpecificConfig);

    Mp4Bytes es;
    es.U16(figures.esId);
    es.U8(0);  // no dependence, URL or stream priority
    PutDescriptor(es, DecoderConfigTag, config.Data());
    PutDescriptor(es, SyncLayerTag, {2});  // the predefined layer of MP4 files

    Mp4Bytes out;
    PutDescriptor(out, EsDescriptorTag, es.Data());
    return out.Data();
}
