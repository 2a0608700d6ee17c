#include "tests/e2e/NumberedPicture.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int ScrollRows = 7;

uint32_t Mix(uint32_t x, uint32_t y) {
    uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    return h ^ (h >> 13);
}

}  // namespace

NumberedPicture::NumberedPicture(int width, int height)
    : m_width(width),
      m_height(height),
      m_band(std::min(32, height / 8)),
      m_cell(width / Bits),
      m_background(TopDownBytes()) {
    uint8_t* p = m_background.data();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, p += 3) {
            const uint32_t h = Mix(uint32_t(x), uint32_t(y));
            p[0] = uint8_t(h), p[1] = uint8_t(h >> 8), p[2] = uint8_t(h >> 16);
        }
}

void NumberedPicture::Row(uint32_t number, int y, uint8_t* out) const {
    const uint64_t scrolled = (uint64_t(y) + uint64_t(number) * ScrollRows) % uint64_t(m_height);
    std::memcpy(out, &m_background[size_t(scrolled) * RowBytes()], RowBytes());
    if (y >= m_band) return;
    for (int bit = 0; bit < Bits; ++bit) {
        const uint8_t v = (number >> (Bits - 1 - bit)) & 1 ? 255 : 0;
        std::memset(out + size_t(bit) * m_cell * 3, v, size_t(m_cell) * 3);
    }
}

void NumberedPicture::RenderDib(uint32_t number, uint8_t* dib) const {
    const size_t stride = (RowBytes() + 3) & ~size_t(3);
    for (int y = 0; y < m_height; ++y) {
        uint8_t* row = dib + size_t(m_height - 1 - y) * stride;
        Row(number, y, row);
        std::memset(row + RowBytes(), 0, stride - RowBytes());
    }
}

uint32_t NumberedPicture::ReadNumber(const uint8_t* topDown) const {
    const uint8_t* row = topDown + size_t(m_band / 2) * RowBytes();
    uint32_t number = 0;
    for (int bit = 0; bit < Bits; ++bit) {
        const uint8_t green = row[(size_t(bit) * m_cell + size_t(m_cell) / 2) * 3 + 1];
        number = number << 1 | (green > 127 ? 1 : 0);
    }
    return number;
}

int NumberedPicture::FirstDifferentRow(uint32_t number, const uint8_t* topDown) const {
    std::vector<uint8_t> expected(RowBytes());
    for (int y = 0; y < m_height; ++y) {
        Row(number, y, expected.data());
        if (std::memcmp(expected.data(), topDown + size_t(y) * RowBytes(), RowBytes()) != 0)
            return y;
    }
    return -1;
}
