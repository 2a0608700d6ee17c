// Little-endian bytes of RIFF chunks, built up in memory or patched in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr uint32_t Fourcc(const char (&code)[5]) {
    return uint32_t(uint8_t(code[0])) | uint32_t(uint8_t(code[1])) << 8 |
           uint32_t(uint8_t(code[2])) << 16 | uint32_t(uint8_t(code[3])) << 24;
}

class RiffBytes {
public:
    size_t Size() const { return m_bytes.size(); }
    const std::vector<uint8_t>& Data() const { return m_bytes; }

    void U8(uint8_t v) { m_bytes.push_back(v); }
    void U16(uint16_t v) {
        U8(uint8_t(v));
        U8(uint8_t(v >> 8));
    }
    void U32(uint32_t v) {
        U16(uint16_t(v));
        U16(uint16_t(v >> 16));
    }
    void U64(uint64_t v) {
        U32(uint32_t(v));
        U32(uint32_t(v >> 32));
    }
    void Append(const std::vector<uint8_t>& bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    }
    void Zeros(size_t n) { m_bytes.resize(m_bytes.size() + n, 0); }
    void Put32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) m_bytes[at + i] = uint8_t(v >> (8 * i));
    }

    // Opens a chunk (or a LIST or RIFF with its form type) and returns where
    // its size field is; Close fills that in from the bytes added since.
    size_t Open(uint32_t id) {
        U32(id);
        const size_t sizeField = Size();
        U32(0);
        return sizeField;
    }
    size_t OpenList(uint32_t id, uint32_t type) {
        const size_t sizeField = Open(id);
        U32(type);
        return sizeField;
    }
    void Close(size_t sizeField) { Put32(sizeField, uint32_t(Size() - sizeField - 4)); }

private:
    std::vector<uint8_t> m_bytes;
};

inline uint32_t Read32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint64_t Read64(const uint8_t* p) { return Read32(p) | uint64_t(Read32(p + 4)) << 32; }
