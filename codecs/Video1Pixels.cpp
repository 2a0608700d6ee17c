#include "codecs/Video1Pixels.h"

#include <array>
#include <cstdlib>

namespace {

std::array<uint8_t, 256> MakeQuantizeTable() {
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        int best = 0;
        for (int c = 1; c < 32; ++c) {
            if (std::abs(Expand5(c) - v) < std::abs(Expand5(best) - v)) best = c;
        }
        table[v] = static_cast<uint8_t>(best);
    }
    return table;
}

const std::array<uint8_t, 256> QuantizeTable = MakeQuantizeTable();

void LoadRow32(const uint8_t* p, Video1BlockPixels& out, int base) {
    for (int x = 0; x < 4; ++x, p += 4) {
        out.b[base + x] = p[0];
        out.g[base + x] = p[1];
        out.r[base + x] = p[2];
    }
}

void LoadRow24(const uint8_t* p, Video1BlockPixels& out, int base) {
    for (int x = 0; x < 4; ++x, p += 3) {
        out.b[base + x] = p[0];
        out.g[base + x] = p[1];
        out.r[base + x] = p[2];
    }
}

void LoadRow16(const uint8_t* p, Video1BlockPixels& out, int base) {
    for (int x = 0; x < 4; ++x, p += 2) {
        const int v = p[0] | (p[1] << 8);
        out.r[base + x] = static_cast<uint8_t>(Expand5((v >> 10) & 31));
        out.g[base + x] = static_cast<uint8_t>(Expand5((v >> 5) & 31));
        out.b[base + x] = static_cast<uint8_t>(Expand5(v & 31));
    }
}

}  // namespace

int Quantize5(int v) { return QuantizeTable[v]; }

void LoadBlock(const uint8_t* row, int stride, int bitCount, Video1BlockPixels& out) {
    for (int y = 0; y < 4; ++y, row += stride) {
        if (bitCount == 32) {
            LoadRow32(row, out, y * 4);
        } else if (bitCount == 24) {
            LoadRow24(row, out, y * 4);
        } else {
            LoadRow16(row, out, y * 4);
        }
    }
}

uint32_t BlockError(const Video1BlockPixels& block, const uint16_t* rgb555) {
    uint32_t sum = 0;
    for (int i = 0; i < 16; ++i) {
        const int dr = block.r[i] - Expand5((rgb555[i] >> 10) & 31);
        const int dg = block.g[i] - Expand5((rgb555[i] >> 5) & 31);
        const int db = block.b[i] - Expand5(rgb555[i] & 31);
        sum += static_cast<uint32_t>(dr * dr + dg * dg + db * db);
    }
    return sum;
}
