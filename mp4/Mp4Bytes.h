// Big-endian bytes of ISO media boxes, built up in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr uint32_t BoxType(const char (&code)[5]) {
    return uint32_t(uint8_t(code[0])) << 24 | uint32_t(uint8_t(code[1])) << 16 |
           uint32_t(uint8_t(code[2])) << 8 | uint32_t(uint8_t(code[3]));
}

class Mp4Bytes {
public:
    size_t Size() const { return m_bytes.size(); }
    const std::vector<uint8_t>& Data() const { return m_bytes; }

    void U8(uint8_t v) { m_bytes.push_back(v); }
    void U16(uint16_t v) {
        U8(uint8_t(v >> 8));
        U8(uint8_t(v));
    }
    void U24(uint32_t v) {
        U8(uint8_t(v >> 16));
        U16(uint16_t(v));
    }
    void U32(uint32_t v) {
        U16(uint16_t(v >> 16));
        U16(uint16_t(v));
    }
    void U64(uint64_t v) {
        U32(uint32_t(v >> 32));
        U32(uint32_t(v));
    }
    void Append(const std::vector<uint8_t>& bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    }
    void Zeros(size_t n) { m_bytes.resize(m_bytes.size() + n, 0); }

    // Opens a box and returns where it starts; Close fills in its size.
    size_t Open(uint32_t type) {
        const size_t start = Size();
        U32(0);
        U32(type);
        return start;
    }
    // A full box: version and flags after the type.
    size_t OpenFull(uint32_t type, uint8_t version, uint32_t flags) {
        const size_t start = Open(type);
        U8(version);
        U24(flags);
        return start;
    }
    void Close(size_t start) { Set32(start, uint32_t(Size() - start)); }
    // Fills in a field written before its value was known.
    void Set32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) m_bytes[at + size_t(i)] = uint8_t(v >> (24 - 8 * i));
    }

private:
    std::vector<uint8_t> m_bytes;
};
