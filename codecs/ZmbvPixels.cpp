#include "codecs/ZmbvPixels.h"

#include <cstring>

#include "codecs/ZmbvFormat.h"

namespace {

// The top bit and alpha carry nothing a player shows; clearing them keeps
// them from spoiling the match of otherwise equal blocks.
void LoadRow15(const uint8_t* row, int width, uint8_t* out) {
    for (int x = 0; x < width; ++x) {
        out[2 * x] = row[2 * x];
        out[2 * x + 1] = static_cast<uint8_t>(row[2 * x + 1] & 0x7F);
    }
}

void LoadRow24(const uint8_t* row, int width, uint8_t* out) {
    for (int x = 0; x < width; ++x, row += 3, out += 4) {
        out[0] = row[0];
        out[1] = row[1];
        out[2] = row[2];
        out[3] = 0;
    }
}

void LoadRow32(const uint8_t* row, int width, uint8_t* out) {
    for (int x = 0; x < width; ++x) {
        uint32_t pixel;
        std::memcpy(&pixel, row + 4 * x, 4);
        pixel &= 0x00FFFFFFu;  // the fourth byte: the top one of a little-endian word
        std::memcpy(out + 4 * x, &pixel, 4);
    }
}

}  // namespace

uint8_t ZmbvFormatFor(int bitCount) {
    if (bitCount == 16) return ZmbvFormat15Bit;
    return bitCount == 24 || bitCount == 32 ? ZmbvFormat32Bit : 0;
}

void ZmbvLoadPicture(const uint8_t* topRow, ptrdiff_t stride, int width, int height, int bitCount,
                     uint8_t* picture) {
    const size_t outRow = static_cast<size_t>(width) * (bitCount == 16 ? 2 : 4);
    for (int y = 0; y < height; ++y, topRow += stride, picture += outRow) {
        if (bitCount == 16) {
            LoadRow15(topRow, width, picture);
        } else if (bitCount == 24) {
            LoadRow24(topRow, width, picture);
        } else {
            LoadRow32(topRow, width, picture);
        }
    }
}
