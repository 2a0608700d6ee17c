// A strict reader of the AVI 2.0 files our writer makes, for its tests: it
// reads every header field and index back from the bytes alone, walks each
// 'movi' list chunk by chunk, and checks that all of it agrees.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A chunk in a 'movi' list: where its header starts and its size field.
struct AviChunkAt {
    uint32_t id = 0;
    uint64_t position = 0;
    uint32_t size = 0;
};

// One entry of a standard index chunk, turned back into the chunk's header position.
struct AviIndexedChunk {
    uint64_t position = 0;
    uint32_t size = 0;
    bool keyFrame = false;
};

struct AviStandardIndex {
    uint64_t position = 0;  // its 'ixNN' header
    uint64_t base = 0;
    uint32_t room = 0;    // entries its size has room for
    int part = -1;        // the RIFF part that holds it
    int superEntry = -1;  // the super index entry that leads to it
    std::vector<AviIndexedChunk> entries;
};

struct AviSuperIndexEntry {
    uint64_t offset = 0;
    uint32_t size = 0;
    uint32_t duration = 0;
};

struct AviStreamLayout {
    uint32_t type = 0, handler = 0, flags = 0, scale = 0, rate = 0, start = 0, length = 0;
    uint32_t suggestedSize = 0, quality = 0, sampleSize = 0;
    std::vector<uint8_t> format;
    uint32_t superChunkId = 0;
    uint32_t superRoom = 0;  // entries the 'indx' chunk has room for
    std::vector<AviSuperIndexEntry> superIndex;
    // The standard index chunks the super index leads to, in its order;
    // only those that could be read.
    std::vector<AviStandardIndex> indexes;

    uint32_t ChunkId(int stream) const;            // '00dc', '01wb'
    uint32_t Duration(uint32_t chunkBytes) const;  // positions or samples
    std::vector<AviIndexedChunk> Indexed() const;  // every index entry, in order
};

struct AviRiffLayout {
    uint64_t riff = 0;
    uint32_t riffSize = 0;
    uint32_t formType = 0;
    uint64_t movi = 0;  // the 'LIST' of 'movi'
    uint32_t moviSize = 0;
    std::vector<AviChunkAt> chunks;  // inside the 'movi' list, in file order
    // Standard index chunks between the header list and the first 'movi' list.
    std::vector<AviChunkAt> indexesBeforeMovi;
    // Stream or index chunks after the 'movi' list: the part's size was
    // brought up to date and the list's not yet.
    std::vector<AviChunkAt> looseChunks;
};

struct AviLegacyEntry {
    uint32_t chunkId = 0, flags = 0;
    uint64_t position = 0;  // of the chunk's header, from the start of the file
    uint32_t size = 0;
};

struct AviLayout {
    uint32_t microSecPerFrame = 0, mainFlags = 0, mainTotalFrames = 0, mainStreams = 0;
    uint32_t mainSuggestedSize = 0, width = 0, height = 0;
    uint32_t extendedTotalFrames = 0;  // dmlh
    std::vector<AviStreamLayout> streams;
    std::vector<AviRiffLayout> parts;
    bool hasLegacyIndex = false;
    std::vector<AviLegacyEntry> legacyIndex;
    uint64_t tailBytes = 0;  // after the last RIFF part: appended but not yet committed
    // What did not parse: sizes past their parent or the file, unknown or
    // missing chunks, index entries that miss their chunk.
    std::vector<std::string> problems;
};

AviLayout ReadAviLayout(const std::vector<uint8_t>& file);

// Settled: as the writer leaves the file between its calls, with every
// commit complete. AnyInstant: the file cut after any write, where a commit
// may be half done: the header fields that follow the index may then lag
// it, but never claim more than it holds.
enum class AviMoment { Settled, AnyInstant };

// Human-readable problems; none for a consistent file.
std::vector<std::string> CheckAviLayout(const std::vector<uint8_t>& file, AviMoment moment);

std::string FourccText(uint32_t id);
