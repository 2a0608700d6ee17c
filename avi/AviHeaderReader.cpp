#include "avi/AviHeaderReader.h"

#include <algorithm>

namespace {

// A header list this large is no header: a few super indexes and formats
// take kilobytes.
constexpr uint32_t MaxHeaderBytes = 16u << 20;

constexpr uint8_t IndexOfIndexes = 0;

struct Span {
    const std::vector<uint8_t>& bytes;
    size_t begin, end;
};

// Visits the chunks that lie whole in the span: visit(id, data span).
template <class Visit>
void ForEachChunk(const Span& s, Visit visit) {
    for (size_t pos = s.begin; pos < s.end && s.end - pos >= 8;) {
        const uint32_t id = Read32(&s.bytes[pos]), size = Read32(&s.bytes[pos + 4]);
        if (size > s.end - pos - 8) return;
        visit(id, Span{s.bytes, pos + 8, pos + 8 + size});
        pos += 8 + size + (size & 1);
    }
}

bool IsList(uint32_t id, const Span& data, uint32_t type) {
    return id == Fourcc("LIST") && data.end - data.begin >= 4 &&
           Read32(&data.bytes[data.begin]) == type;
}

Span ListBody(const Span& list) { return {list.bytes, list.begin + 4, list.end}; }

void ReadStreamHeader(const Span& d, AviStreamInfo& s, uint32_t& type) {
    if (d.end - d.begin < 36) return;
    const uint8_t* p = &d.bytes[d.begin];
    type = Read32(p);
    s.video = type == Fourcc("vids");
    s.handler = Read32(p + 4);
    s.scale = Read32(p + 20);
    s.rate = Read32(p + 24);
    s.length = Read32(p + 32);
}

// Only an index of indexes: its entries lead to standard index chunks.
std::vector<uint64_t> ReadSuperIndex(const Span& d) {
    std::vector<uint64_t> offsets;
    const size_t bytes = d.end - d.begin;
    if (bytes < 24) return offsets;
    const uint8_t* p = &d.bytes[d.begin];
    if (Read16(p) != 4 || p[3] != IndexOfIndexes) return offsets;
    const size_t count = std::min<size_t>(Read32(p + 4), (bytes - 24) / 16);
    for (size_t i = 0; i < count; ++i) offsets.push_back(Read64(p + 24 + i * 16));
    return offsets;
}

void ReadStreamList(const Span& strl, AviHeaderRead& h) {
    AviStreamInfo s;
    uint32_t type = 0;
    std::vector<uint64_t> indexes;
    ForEachChunk(strl, [&](uint32_t id, const Span& d) {
        if (id == Fourcc("strh")) ReadStreamHeader(d, s, type);
        if (id == Fourcc("strf"))
            s.format.assign(d.bytes.begin() + long(d.begin), d.bytes.begin() + long(d.end));
        if (id == Fourcc("indx")) indexes = ReadSuperIndex(d);
    });
    if (type != Fourcc("vids") && type != Fourcc("auds")) {
        h.streamOf.push_back(-1);
        return;
    }
    h.streamOf.push_back(int(h.contents.streams.size()));
    h.contents.streams.push_back(std::move(s));
    h.standardIndexes.push_back(std::move(indexes));
}

void ReadHeaderList(const Span& hdrl, AviHeaderRead& h) {
    ForEachChunk(hdrl, [&](uint32_t id, const Span& d) {
        if (id == Fourcc("avih") && d.end - d.begin >= 4)
            h.contents.microSecPerFrame = Read32(&d.bytes[d.begin]);
        if (IsList(id, d, Fourcc("strl"))) ReadStreamList(ListBody(d), h);
        if (IsList(id, d, Fourcc("odml")))
            ForEachChunk(ListBody(d), [&](uint32_t sub, const Span& e) {
                if (sub == Fourcc("dmlh") && e.end - e.begin >= 4)
                    h.contents.totalFrames = Read32(&e.bytes[e.begin]);
            });
    });
}

AviHeaderRead Failed(AviReadError error) {
    AviHeaderRead h;
    h.contents.error = error;
    return h;
}

// The header list: the first LIST of the first RIFF part, after any JUNK.
AviReadError FindHeaderList(RiffInput& in, RiffChunkHeader& hdrl) {
    for (uint64_t pos = 12;;) {
        uint32_t type = 0;
        if (!in.Chunk(pos, hdrl) || (hdrl.id == Fourcc("LIST") && !in.U32(pos + 8, type)))
            return in.Failed() ? AviReadError::Unreadable : AviReadError::CutHeader;
        if (hdrl.id == Fourcc("LIST"))
            return type == Fourcc("hdrl") ? AviReadError::None : AviReadError::Unreadable;
        pos = hdrl.Next();
    }
}

}  // namespace

AviHeaderRead ReadAviHeader(RiffInput& in) {
    uint8_t start[12] = {};
    if (!in.Read(0, start, 12)) {
        if (in.Failed()) return Failed(AviReadError::Unreadable);
        const bool riff = in.Size() >= 4 && in.Read(0, start, 4) && Read32(start) == Fourcc("RIFF");
        return Failed(riff ? AviReadError::CutHeader : AviReadError::NotAvi);
    }
    if (Read32(start) != Fourcc("RIFF") || Read32(start + 8) != Fourcc("AVI "))
        return Failed(AviReadError::NotAvi);
    RiffChunkHeader hdrl;
    const AviReadError found = FindHeaderList(in, hdrl);
    if (found != AviReadError::None) return Failed(found);
    if (hdrl.size > MaxHeaderBytes || hdrl.size < 4) return Failed(AviReadError::Unreadable);
    std::vector<uint8_t> bytes(hdrl.size);
    if (!in.Read(hdrl.Data(), bytes.data(), bytes.size()))
        return Failed(in.Failed() ? AviReadError::Unreadable : AviReadError::CutHeader);

    AviHeaderRead h;
    ReadHeaderList({bytes, 4, bytes.size()}, h);
    bool video = false;
    for (const AviStreamInfo& s : h.contents.streams) video = video || s.video;
    if (!video) return Failed(AviReadError::NoVideo);
    h.end = hdrl.Next();
    h.riffEnd = 8 + uint64_t(Read32(start + 4));
    return h;
}
