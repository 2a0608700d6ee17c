#include "avi/AviIndex.h"

#include "avi/RiffBytes.h"

namespace {

constexpr uint32_t NotKeyFrameBit = 0x80000000u;

}  // namespace

std::vector<uint8_t> EmptyStandardIndex(uint32_t indexId, uint32_t chunkId, uint64_t base,
                                        uint32_t capacity) {
    RiffBytes b;
    const size_t size = b.Open(indexId);
    b.U16(2);  // wLongsPerEntry
    b.U8(0);   // bIndexSubType
    b.U8(1);   // bIndexType: an index of chunks
    b.U32(0);  // nEntriesInUse
    b.U32(chunkId);
    b.U64(base);
    b.U32(0);
    b.Zeros(size_t(capacity) * StandardIndexEntryBytes);
    b.Close(size);
    return b.Data();
}

std::vector<uint8_t> StandardIndexEntries(const std::vector<ChunkEntry>& entries, uint64_t base) {
    RiffBytes b;
    for (const ChunkEntry& e : entries) {
        b.U32(uint32_t(e.position + 8 - base));  // the offset of the data
        b.U32(e.size | (e.keyFrame ? 0 : NotKeyFrameBit));
    }
    return b.Data();
}

std::vector<ChunkEntry> ReadStandardIndexEntries(const uint8_t* bytes, size_t count,
                                                 uint64_t base) {
    std::vector<ChunkEntry> entries(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t size = Read32(bytes + i * 8 + 4);
        entries[i] = {base + Read32(bytes + i * 8) - 8, size & ~NotKeyFrameBit,
                      (size & NotKeyFrameBit) == 0};
    }
    return entries;
}

void PutLegacyIndexEntry(std::vector<uint8_t>& out, uint32_t chunkId, const ChunkEntry& entry,
                         uint64_t moviType) {
    const uint32_t fields[4] = {chunkId, entry.keyFrame ? LegacyKeyFrameFlag : 0,
                                uint32_t(entry.position - moviType), entry.size};
    for (uint32_t v : fields)
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
