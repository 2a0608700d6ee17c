#include "encode/PixelRows.h"

#include <cstring>

size_t RowBytes(int width, int bitCount) { return (size_t(width) * bitCount + 31) / 32 * 4; }

void RowToBgra(const uint8_t* row, int bitCount, int width, uint8_t* bgra) {
    if (bitCount == 32) {
        std::memcpy(bgra, row, size_t(width) * 4);
        return;
    }
    for (int x = 0; x < width; ++x, bgra += 4) {
        if (bitCount == 24) {
            std::memcpy(bgra, row + 3 * x, 3);
        } else {
            const unsigned p = row[2 * x] | row[2 * x + 1] << 8;
            const unsigned b = p & 31, g = (p >> 5) & 31, r = (p >> 10) & 31;
            bgra[0] = static_cast<uint8_t>(b << 3 | b >> 2);
            bgra[1] = static_cast<uint8_t>(g << 3 | g >> 2);
            bgra[2] = static_cast<uint8_t>(r << 3 | r >> 2);
        }
        bgra[3] = 255;
    }
}
