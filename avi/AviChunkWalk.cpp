#include "avi/AviChunkWalk.h"

namespace {

// Zeros or noise where the writer stopped: no chunk id.
bool IsChunkId(uint32_t id) {
    for (int i = 0; i < 4; ++i) {
        const uint8_t c = uint8_t(id >> (8 * i));
        if (c < 0x20 || c > 0x7E) return false;
    }
    return true;
}

// The lists and parts the walk goes into rather than over.
bool Enters(uint32_t id, uint32_t type) {
    if (id == Fourcc("RIFF")) return type == Fourcc("AVIX");
    return id == Fourcc("LIST") && (type == Fourcc("movi") || type == Fourcc("rec "));
}

}  // namespace

bool WalkChunks(RiffInput& in, uint64_t from, const std::vector<int>& streamOf,
                AviFileContents& contents) {
    // A stream takes what lies after its last listed chunk.
    std::vector<uint64_t> after;
    for (const AviStreamInfo& s : contents.streams)
        after.push_back(s.chunks.empty() ? 0 : s.chunks.back().offset);
    bool appended = false;
    for (uint64_t pos = from;;) {
        RiffChunkHeader c;
        if (!in.Chunk(pos, c)) {
            if (pos < in.Size()) contents.cutShort = true;  // a torn header
            return appended;
        }
        if (!IsChunkId(c.id)) return appended;
        if (c.id == Fourcc("RIFF") || c.id == Fourcc("LIST")) {
            uint32_t type = 0;
            if (!in.U32(c.Data(), type)) {
                contents.cutShort = true;
                return appended;
            }
            if (Enters(c.id, type)) {
                pos = c.Data() + 4;
                continue;
            }
            if (c.id == Fourcc("RIFF")) return appended;  // another file's form
        }
        if (!in.Has(c.Data(), c.size)) {
            contents.cutShort = true;
            return appended;
        }
        const int number = StreamNumberOf(c.id);
        const int stream =
            number >= 0 && size_t(number) < streamOf.size() ? streamOf[size_t(number)] : -1;
        if (stream >= 0 && c.Data() > after[size_t(stream)]) {
            AviStreamInfo& s = contents.streams[size_t(stream)];
            if (IsStreamData(c.id, s.video)) {
                s.chunks.push_back({c.Data(), c.size, !s.video});
                appended = true;
            }
        }
        pos = c.Next();
    }
}
