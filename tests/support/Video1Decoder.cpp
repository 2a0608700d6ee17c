#include "tests/support/Video1Decoder.h"

#include <cmath>

namespace {

int Expand(int v) { return (v << 3) | (v >> 2); }

unsigned Word(const uint8_t* p) { return p[0] | (p[1] << 8); }

// Source component c (0 blue, 1 green, 2 red) of pixel (x, y).
int SourceComponent(const uint8_t* dib, size_t stride, int bitCount, int x, int y, int c) {
    const uint8_t* row = dib + static_cast<size_t>(y) * stride;
    if (bitCount == 16) return Expand((Word(row + 2 * x) >> (5 * c)) & 31);
    return row[x * (bitCount / 8) + c];
}

}  // namespace

Video1Decoder::Video1Decoder(int width, int height)
    : m_width(width), m_height(height), m_picture(static_cast<size_t>(width) * height, 0) {}

void Video1Decoder::PaintBlock(int block, const uint16_t* colours, unsigned flags, bool eight) {
    const int blocksWide = m_width / 4;
    const int x0 = (block % blocksWide) * 4, y0 = (block / blocksWide) * 4;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x, flags >>= 1) {
            const int pair = eight ? ((y & 2) << 1) + (x & 2) : 0;
            const uint16_t colour = colours[pair + ((flags & 1) ? 0 : 1)];
            m_picture[static_cast<size_t>(y0 + y) * m_width + x0 + x] = colour & 0x7FFF;
        }
    }
}

Video1Decoded Video1Decoder::Decode(const uint8_t* data, size_t size) {
    Video1Decoded result{false, false, 0, 0, 0};
    const int blocks = (m_width / 4) * (m_height / 4);
    size_t at = 0;
    int block = 0;
    while (block < blocks) {
        if (at + 2 > size) return result;
        const unsigned code = Word(data + at);
        at += 2;
        if ((code & 0xFC00) == 0x8400) {
            const int count = static_cast<int>(code & 0x3FF);
            if (count == 0 || block + count > blocks) return result;
            block += count;
            result.usedSkips = true;
        } else if (code & 0x8000) {
            const uint16_t colours[2] = {static_cast<uint16_t>(code), 0};
            PaintBlock(block++, colours, 0xFFFF, false);
            ++result.fillBlocks;
        } else {
            if (at + 4 > size) return result;
            const bool eight = (Word(data + at) & 0x8000) != 0;
            const size_t count = eight ? 8 : 2;
            if (at + 2 * count > size) return result;
            uint16_t colours[8];
            for (size_t i = 0; i < count; ++i)
                colours[i] = static_cast<uint16_t>(Word(data + at + 2 * i));
            at += 2 * count;
            PaintBlock(block++, colours, code, eight);
            ++(eight ? result.eightColourBlocks : result.twoColourBlocks);
        }
    }
    result.ok = at == size;
    return result;
}

std::vector<uint8_t> ExpandToBgrx(const std::vector<uint16_t>& picture) {
    std::vector<uint8_t> out(picture.size() * 4);
    for (size_t i = 0; i < picture.size(); ++i) {
        for (int c = 0; c < 3; ++c)
            out[4 * i + c] = static_cast<uint8_t>(Expand((picture[i] >> (5 * c)) & 31));
        out[4 * i + 3] = 0;
    }
    return out;
}

double PictureSnr(const std::vector<uint16_t>& picture, const uint8_t* dib, int width, int height,
                  int bitCount) {
    const size_t stride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    double sum = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint16_t p = picture[static_cast<size_t>(y) * width + x];
            for (int c = 0; c < 3; ++c) {
                const int d =
                    Expand((p >> (5 * c)) & 31) - SourceComponent(dib, stride, bitCount, x, y, c);
                sum += d * d;
            }
        }
    }
    if (sum == 0) return 99.0;
    const double mse = sum / (3.0 * width * height);
    return 10.0 * std::log10(255.0 * 255.0 / mse);
}
