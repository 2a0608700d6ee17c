#include "tests/win/ZmbvFrames.h"

#include <cstddef>

namespace {

struct Rgb {
    int r, g, b;
};

size_t Stride(int width, int bitCount) { return DibStride(width, static_cast<WORD>(bitCount)); }

// (x, y) from the top of the picture.
Rgb ScenePixel(int x, int y, int frame) {
    const int rx = x - (10 + 9 * frame), ry = y - (150 - 5 * frame);
    if (rx >= 0 && rx < 70 && ry >= 0 && ry < 45) {
        return {rx * 3 + 20, ry * 5, (rx ^ ry) * 4 & 0xFF};
    }
    const int s = y + 3 * frame;  // the row's place in the scrolling text
    const unsigned cell =
        static_cast<unsigned>(x / 7) * 131u + static_cast<unsigned>(s / 12) * 977u;
    const bool ink =
        s % 12 < 8 && x % 7 < 5 && ((cell * 2654435761u) >> (x % 7 + 5 * (s % 12))) & 1;
    if (ink) return {16, 24, 40 + (s / 12) % 8 * 20};
    return {250 - s % 40, 248, 240 + x % 16};
}

void PutPixel(const Rgb& c, int bitCount, uint8_t* p) {
    if (bitCount == 16) {
        const int word = (c.r >> 3) << 10 | (c.g >> 3) << 5 | c.b >> 3;
        p[0] = static_cast<uint8_t>(word & 0xFF);
        p[1] = static_cast<uint8_t>(word >> 8);
        return;
    }
    p[0] = static_cast<uint8_t>(c.b);
    p[1] = static_cast<uint8_t>(c.g);
    p[2] = static_cast<uint8_t>(c.r);
    if (bitCount == 32) p[3] = 0;
}

}  // namespace

std::vector<uint8_t> SceneFrame(int width, int height, int bitCount, int frame) {
    const size_t stride = Stride(width, bitCount);
    std::vector<uint8_t> dib(stride * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = &dib[stride * static_cast<size_t>(height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            PutPixel(ScenePixel(x, y, frame), bitCount,
                     row + static_cast<size_t>(x) * (bitCount / 8));
        }
    }
    return dib;
}

std::vector<uint8_t> Widen24To32(const std::vector<uint8_t>& dib, int width, int height) {
    const size_t from = Stride(width, 24), to = Stride(width, 32);
    std::vector<uint8_t> wide(to * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                wide[to * y + 4 * static_cast<size_t>(x) + c] =
                    dib[from * y + 3 * static_cast<size_t>(x) + c];
            }
        }
    }
    return wide;
}
