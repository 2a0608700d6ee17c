// Reads of a file whose sizes and offsets come from the file itself: every
// read is checked against the size the file had when reading began (a file
// still being recorded grows meanwhile), and a read the system refuses is
// remembered, so that the caller can tell a cut file from an unreadable one.
#pragma once

#include <cstddef>
#include <cstdint>

#include "avi/InputFile.h"
#include "avi/RiffBytes.h"

struct RiffChunkHeader {
    uint64_t position = 0;  // of the header
    uint32_t id = 0, size = 0;

    uint64_t Data() const { return position + 8; }
    uint64_t DataEnd() const { return Data() + size; }
    uint64_t Next() const { return DataEnd() + (size & 1); }  // chunks start on even offsets
};

class RiffInput {
public:
    explicit RiffInput(InputFile& file) : m_file(file), m_size(file.Size()) {}

    uint64_t Size() const { return m_size; }
    bool Has(uint64_t offset, uint64_t bytes) const {
        return offset <= m_size && bytes <= m_size - offset;
    }
    bool Failed() const { return m_failed; }

    // False past the end of the file, without asking the file.
    bool Read(uint64_t offset, void* data, size_t bytes) {
        if (!Has(offset, bytes)) return false;
        if (m_file.ReadAt(offset, data, bytes)) return true;
        m_failed = true;
        return false;
    }
    bool Chunk(uint64_t position, RiffChunkHeader& chunk) {
        uint8_t b[8];
        if (!Read(position, b, 8)) return false;
        chunk = {position, Read32(b), Read32(b + 4)};
        return true;
    }
    bool U32(uint64_t offset, uint32_t& value) {
        uint8_t b[4];
        if (!Read(offset, b, 4)) return false;
        value = Read32(b);
        return true;
    }

private:
    InputFile& m_file;
    const uint64_t m_size;
    bool m_failed = false;
};

// The stream a data chunk ('00dc', '01wb') belongs to, or -1.
inline int StreamNumberOf(uint32_t chunkId) {
    const int tens = int(chunkId & 0xFF) - '0', units = int((chunkId >> 8) & 0xFF) - '0';
    if (tens < 0 || tens > 9 || units < 0 || units > 9) return -1;
    return tens * 10 + units;
}

// Whether a chunk id is one of a stream's data: compressed or plain frames
// ('dc', 'db') for video, 'wb' for sound; palette changes and the like are not.
inline bool IsStreamData(uint32_t chunkId, bool video) {
    const uint32_t kind = chunkId >> 16;
    if (!video) return kind == Fourcc("00wb") >> 16;
    return kind == Fourcc("00dc") >> 16 || kind == Fourcc("00db") >> 16;
}
