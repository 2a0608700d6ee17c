// The index chunks of an AVI 2.0 file: the standard index chunks ('ix00',
// 'ix01') that list a stream's chunks of one RIFF part, and the legacy
// 'idx1' of the first part.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One stored chunk: where its header starts and how many data bytes follow.
struct ChunkEntry {
    uint64_t position = 0;
    uint32_t size = 0;
    bool keyFrame = false;
};

constexpr size_t StandardIndexHeaderBytes = 32;  // 'ixNN', size, and 24 bytes of header
constexpr size_t StandardIndexEntryBytes = 8;
constexpr size_t LegacyIndexEntryBytes = 16;
constexpr uint32_t LegacyKeyFrameFlag = 0x10;  // AVIIF_KEYFRAME

// A standard index chunk with room for capacity entries, none in use yet.
// Entry offsets count from base, so it indexes chunks within 4 GiB after base.
std::vector<uint8_t> EmptyStandardIndex(uint32_t indexId, uint32_t chunkId, uint64_t base,
                                        uint32_t capacity);

// The entries' bytes as they follow the standard index chunk's header.
std::vector<uint8_t> StandardIndexEntries(const std::vector<ChunkEntry>& entries, uint64_t base);

// Decodes count entries as stored after a standard index chunk's header.
std::vector<ChunkEntry> ReadStandardIndexEntries(const uint8_t* bytes, size_t count, uint64_t base);

// One 'idx1' entry; offsets count from the 'movi' form type of the first part.
void PutLegacyIndexEntry(std::vector<uint8_t>& out, uint32_t chunkId, const ChunkEntry& entry,
                         uint64_t moviType);
