#include "avi/AviFileReader.h"

#include <algorithm>

#include "avi/AviChunkWalk.h"
#include "avi/AviHeaderReader.h"
#include "avi/AviIndexReader.h"

namespace {

// The first part's 'movi' list, after the header list and whatever lies
// between (the first standard index chunks, JUNK). position 0: none.
RiffChunkHeader FindFirstMovi(RiffInput& in, uint64_t from) {
    RiffChunkHeader c;
    for (uint64_t pos = from; in.Chunk(pos, c) && c.id != Fourcc("RIFF"); pos = c.Next()) {
        uint32_t type = 0;
        if (c.id == Fourcc("LIST") && in.U32(c.Data(), type) && type == Fourcc("movi")) return c;
    }
    return {};
}

// The 'idx1' after the first 'movi' list, inside the first part.
RiffChunkHeader FindLegacyIndex(RiffInput& in, const RiffChunkHeader& movi, uint64_t riffEnd) {
    RiffChunkHeader c;
    for (uint64_t pos = movi.Next(); pos < riffEnd && in.Chunk(pos, c); pos = c.Next())
        if (c.id == Fourcc("idx1")) return c;
    return {};
}

// Whether a RIFF part whose size was written claims more than the file
// holds. A part whose size lags its chunks (a crash) ends the look: what
// follows its claimed end is no part.
bool PartRunsPastEnd(RiffInput& in) {
    RiffChunkHeader riff;
    for (uint64_t pos = 0; in.Chunk(pos, riff) && riff.id == Fourcc("RIFF"); pos = riff.Next())
        if (!in.Has(riff.Data(), riff.size)) return true;
    return false;
}

bool AnyChunks(const AviFileContents& c) {
    return std::any_of(c.streams.begin(), c.streams.end(),
                       [](const AviStreamInfo& s) { return !s.chunks.empty(); });
}

// Where the walk past the index starts: after the listed chunk that ends
// first among the streams' last ones, so that no stream misses one that
// its index does not list; at the first 'movi' list without an index.
uint64_t WalkStart(const AviFileContents& c, const RiffChunkHeader& movi) {
    if (!AnyChunks(c)) return movi.position ? movi.Data() + 4 : 0;
    uint64_t start = UINT64_MAX;
    for (const AviStreamInfo& s : c.streams)
        if (!s.chunks.empty()) {
            const AviChunkRef& last = s.chunks.back();
            start = std::min(start, last.offset + last.size + (last.size & 1));
        }
    return start;
}

}  // namespace

AviFileContents ReadAviFile(InputFile& file) {
    RiffInput in(file);
    AviHeaderRead header = ReadAviHeader(in);
    AviFileContents& c = header.contents;
    if (c.error != AviReadError::None) return c;
    const RiffChunkHeader movi = FindFirstMovi(in, header.end);
    ReadStandardIndexes(in, header.standardIndexes, c);
    if (!AnyChunks(c) && movi.position) {
        const RiffChunkHeader idx1 = FindLegacyIndex(in, movi, header.riffEnd);
        if (idx1.position) ReadLegacyIndex(in, idx1, movi.Data(), header.streamOf, c);
    }
    const uint64_t from = WalkStart(c, movi);
    if (from && WalkChunks(in, from, header.streamOf, c)) c.indexed = false;
    if (PartRunsPastEnd(in)) c.cutShort = true;
    if (in.Failed()) c.error = AviReadError::Unreadable;
    return c;
}
