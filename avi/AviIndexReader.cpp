#include "avi/AviIndexReader.h"

#include <algorithm>
#include <set>

#include "avi/AviIndex.h"

namespace {

constexpr size_t BatchEntries = 4096;  // entries read at once, so memory stays small
constexpr uint8_t IndexOfChunks = 1;
constexpr uint32_t LegacyListFlag = 0x1;  // AVIIF_LIST: a 'rec ' list, no stream's data

// Adds listed chunks to the streams. Each chunk takes at least its 8-byte
// header of the file: an index that lists more (the same chunks again and
// again) is cut off there.
class Lister {
public:
    Lister(RiffInput& in, AviFileContents& contents) : m_in(in), m_c(contents) {
        uint64_t listed = 0;
        for (const AviStreamInfo& s : contents.streams) listed += s.chunks.size();
        m_room = in.Size() / 8 - std::min(in.Size() / 8, listed);
    }

    bool Video(size_t stream) const { return m_c.streams[stream].video; }
    bool Ended(size_t stream) const { return m_ended.count(stream) || m_room == 0; }

    // The file ends inside what the stream's index lists.
    void Cut(size_t stream) {
        m_c.cutShort = true;
        m_ended.insert(stream);
    }
    // A stream's list ends at its first chunk that is not whole in the file.
    void Add(size_t stream, uint64_t data, uint32_t size, bool keyFrame) {
        if (Ended(stream)) return;
        if (!m_in.Has(data, size)) return Cut(stream);
        m_c.streams[stream].chunks.push_back({data, size, keyFrame});
        --m_room;
    }

private:
    RiffInput& m_in;
    AviFileContents& m_c;
    uint64_t m_room;
    std::set<size_t> m_ended;
};

// One standard index chunk of the stream's data; nothing where there is none.
void ReadStandardIndex(RiffInput& in, uint64_t at, size_t stream, Lister& lister) {
    uint8_t head[StandardIndexHeaderBytes];
    if (!in.Read(at, head, sizeof head)) return;
    const uint32_t size = Read32(head + 4);
    if (Read16(head + 8) != 2 || head[10] != 0 || head[11] != IndexOfChunks || size < 24 ||
        !IsStreamData(Read32(head + 16), lister.Video(stream)))
        return;
    const uint64_t base = Read64(head + 20);
    const uint64_t entries = at + StandardIndexHeaderBytes;
    const uint64_t inFile = (in.Size() - entries) / StandardIndexEntryBytes;
    const uint64_t listed = std::min<uint64_t>(Read32(head + 12), (size - 24) / 8);
    const uint64_t count = std::min(listed, inFile);
    std::vector<uint8_t> bytes;
    for (uint64_t done = 0; done < count && !lister.Ended(stream);) {
        const size_t batch = size_t(std::min<uint64_t>(count - done, BatchEntries));
        bytes.resize(batch * StandardIndexEntryBytes);
        if (!in.Read(entries + done * StandardIndexEntryBytes, bytes.data(), bytes.size())) return;
        for (const ChunkEntry& e : ReadStandardIndexEntries(bytes.data(), batch, base))
            lister.Add(stream, e.position + 8, e.size, e.keyFrame);
        done += batch;
    }
    if (count < listed) lister.Cut(stream);  // the file ends inside the index chunk
}

// Offsets count from the 'movi' form type, or in some writers' files from
// the start of the file: the first entry's chunk tells which.
uint64_t LegacyBase(RiffInput& in, const RiffChunkHeader& idx1, uint64_t moviType) {
    for (uint64_t e = idx1.Data(); e + 16 <= idx1.DataEnd(); e += 16) {
        uint8_t entry[16];
        if (!in.Read(e, entry, 16)) break;
        if (StreamNumberOf(Read32(entry)) < 0) continue;
        RiffChunkHeader chunk;
        const uint64_t offset = Read32(entry + 8);
        if (in.Chunk(moviType + offset, chunk) && chunk.id == Read32(entry)) return moviType;
        if (in.Chunk(offset, chunk) && chunk.id == Read32(entry)) return 0;
        break;
    }
    return moviType;
}

}  // namespace

void ReadStandardIndexes(RiffInput& in, const std::vector<std::vector<uint64_t>>& indexes,
                         AviFileContents& contents) {
    Lister lister(in, contents);
    std::set<uint64_t> read;
    for (size_t s = 0; s < indexes.size(); ++s)
        for (uint64_t at : indexes[s])
            if (read.insert(at).second) ReadStandardIndex(in, at, s, lister);
}

void ReadLegacyIndex(RiffInput& in, const RiffChunkHeader& idx1, uint64_t moviType,
                     const std::vector<int>& streamOf, AviFileContents& contents) {
    Lister lister(in, contents);
    const uint64_t base = LegacyBase(in, idx1, moviType);
    const uint64_t whole =
        std::min<uint64_t>(idx1.size, in.Size() - std::min(in.Size(), idx1.Data()));
    if (whole < idx1.size) contents.cutShort = true;
    const uint64_t count = whole / 16;
    std::vector<uint8_t> bytes;
    for (uint64_t done = 0; done < count;) {
        const size_t batch = size_t(std::min<uint64_t>(count - done, BatchEntries));
        bytes.resize(batch * LegacyIndexEntryBytes);
        if (!in.Read(idx1.Data() + done * LegacyIndexEntryBytes, bytes.data(), bytes.size()))
            return;
        for (size_t i = 0; i < batch; ++i) {
            const uint8_t* e = &bytes[i * LegacyIndexEntryBytes];
            const uint32_t id = Read32(e), flags = Read32(e + 4);
            const int number = StreamNumberOf(id);
            if (number < 0 || size_t(number) >= streamOf.size() || streamOf[size_t(number)] < 0 ||
                (flags & LegacyListFlag))
                continue;
            const size_t stream = size_t(streamOf[size_t(number)]);
            if (!IsStreamData(id, lister.Video(stream))) continue;
            lister.Add(stream, base + Read32(e + 8) + 8, Read32(e + 12),
                       (flags & LegacyKeyFrameFlag) != 0);
        }
        done += batch;
    }
}
