#include "mp4/Mp4Layout.h"

#include "mp4/Mp4Bytes.h"

namespace {

constexpr uint64_t FreeHeaderBytes = 8;
// Leftover room worth a move of the media data back: more than this
// fraction of the media data.
constexpr uint64_t WasteFraction = 16;

}  // namespace

uint32_t MdatHeaderBytes(uint64_t mediaBytes) { return mediaBytes + 8 > UINT32_MAX ? 16 : 8; }

Mp4Placement PlaceMp4Index(uint64_t indexStart, uint64_t reservedStart, uint64_t mediaBytes,
                           uint64_t lastChunk, const std::function<uint64_t(bool)>& indexBytes) {
    Mp4Placement p;
    const uint64_t header = MdatHeaderBytes(mediaBytes);
    // Wider offsets only make the index larger and push the data further.
    for (bool co64 : {false, true}) {
        p.co64 = co64;
        p.indexBytes = indexBytes(co64);
        const uint64_t tight = indexStart + p.indexBytes + header;
        const uint64_t left = reservedStart >= tight ? reservedStart - tight : UINT64_MAX;
        const bool keep = left == 0 || (left != UINT64_MAX && left >= FreeHeaderBytes &&
                                        left * WasteFraction <= mediaBytes);
        p.dataStart = keep ? reservedStart : tight;
        if (co64 || p.dataStart + lastChunk <= UINT32_MAX) break;
    }
    return p;
}

std::vector<uint8_t> Mp4IndexRegion(const std::vector<uint8_t>& moov, uint64_t indexStart,
                                    const Mp4Placement& placement, uint64_t mediaBytes) {
    Mp4Bytes b;
    b.Append(moov);
    const uint32_t header = MdatHeaderBytes(mediaBytes);
    const uint64_t left = placement.dataStart - indexStart - moov.size() - header;
    if (left > 0) {
        b.U32(uint32_t(left));
        b.U32(BoxType("free"));
        b.Zeros(size_t(left - FreeHeaderBytes));
    }
    if (header == 16) {
        b.U32(1);  // the size follows in 64 bits
        b.U32(BoxType("mdat"));
        b.U64(mediaBytes + 16);
    } else {
        b.U32(uint32_t(mediaBytes + 8));
        b.U32(BoxType("mdat"));
    }
    return b.Data();
}

uint64_t Mp4IndexRoomFor(double seconds, double framesPerSecond, uint32_t audioSampleRate) {
    // Per video frame at most a size, a duration run, an offset run and a
    // key frame number; per sound frame of 1024 samples a size; per track
    // two chunks a second, each an offset and a run of chunk sizes.
    const double perSecond = framesPerSecond * 24 + audioSampleRate / 1024.0 * 12 + 2 * 2 * 20;
    return 8192 + uint64_t(seconds * perSecond);
}
