// The ZMBV ("Zip Motion Blocks Video") stream as this program writes and
// reads it: frame flags, the key-frame header and the block grid.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint8_t ZmbvKeyFrameFlag = 0x01;
constexpr uint8_t ZmbvPaletteFlag = 0x02;  // a delta frame starts with the palette's XOR
constexpr size_t ZmbvKeyHeaderBytes = 7;   // flags, version 0/1, compression, format, block size
constexpr uint8_t ZmbvVersionMajor = 0;
constexpr uint8_t ZmbvVersionMinor = 1;
constexpr uint8_t ZmbvCompressionNone = 0;
constexpr uint8_t ZmbvCompressionZlib = 1;
constexpr uint8_t ZmbvFormat1Bit = 1;   // palette indices, packed from the top bit down
constexpr uint8_t ZmbvFormat4Bit = 3;
constexpr uint8_t ZmbvFormat8Bit = 4;   // one palette index a byte
constexpr uint8_t ZmbvFormat15Bit = 5;  // 16-bit words, x-5-5-5
constexpr uint8_t ZmbvFormat16Bit = 6;  // 16-bit words, 5-6-5
constexpr uint8_t ZmbvFormat24Bit = 7;  // B, G, R
constexpr uint8_t ZmbvFormat32Bit = 8;  // B, G, R, unused
constexpr size_t ZmbvPaletteBytes = 256 * 3;  // R, G, B of each index
constexpr int ZmbvBlockSide = 16;
constexpr int ZmbvMaxVector = 16;  // how far our encoder searches around a block
constexpr int ZmbvMaxScroll = 63;  // the farthest vector the format holds (-64..63)
constexpr int ZmbvMaxSide = 16384;

// Bits a pixel takes in the stream: 1, 2, 4, 8, 16, 16, 24 or 32; 0 for no format.
constexpr int ZmbvPixelBits(uint8_t format) {
    constexpr int bits[] = {0, 1, 2, 4, 8, 16, 16, 24, 32};
    return format <= ZmbvFormat32Bit ? bits[format] : 0;
}

constexpr bool ZmbvPalettized(uint8_t format) {
    return format >= ZmbvFormat1Bit && format <= ZmbvFormat8Bit;
}

// Bytes per pixel of a decoded picture (a palette index takes a byte
// whatever its bits in the stream), 0 for no format.
constexpr int ZmbvPixelBytes(uint8_t format) {
    return ZmbvPalettized(format) ? 1 : ZmbvPixelBits(format) / 8;
}

// Bytes of a row of `width` pixels in the stream: rows of sub-byte pixels
// end on a whole byte.
constexpr size_t ZmbvPackedRowBytes(uint8_t format, int width) {
    return (static_cast<size_t>(width) * static_cast<size_t>(ZmbvPixelBits(format)) + 7) / 8;
}

// A motion vector: the block at (x, y) comes from (x + dx, y + dy) of the
// previous picture.
struct ZmbvVector {
    int dx = 0, dy = 0;
};

inline bool operator==(ZmbvVector a, ZmbvVector b) { return a.dx == b.dx && a.dy == b.dy; }

// One block of the grid; those on the right and bottom edges may be smaller.
struct ZmbvBlock {
    int x, y, width, height;
};

// Blocks cover the picture left to right, top to bottom.
struct ZmbvGrid {
    int width = 0, height = 0, blockWidth = 1, blockHeight = 1;

    int Columns() const { return (width + blockWidth - 1) / blockWidth; }
    int Rows() const { return (height + blockHeight - 1) / blockHeight; }
    size_t Blocks() const { return static_cast<size_t>(Columns()) * static_cast<size_t>(Rows()); }
    // A delta frame starts with two bytes per block, padded to four.
    size_t InfoBytes() const { return (Blocks() * 2 + 3) / 4 * 4; }
    ZmbvBlock Block(int column, int row) const {
        const int x = column * blockWidth, y = row * blockHeight;
        return {x, y, width - x < blockWidth ? width - x : blockWidth,
                height - y < blockHeight ? height - y : blockHeight};
    }
    // Whether the block moved by `v` lies inside the picture.
    bool Inside(const ZmbvBlock& b, ZmbvVector v) const {
        return b.x + v.dx >= 0 && b.y + v.dy >= 0 && b.x + v.dx + b.width <= width &&
               b.y + v.dy + b.height <= height;
    }
};

// The two bytes of a block's entry: the vector doubled, the low bit of the
// first telling that XOR data follows.
inline void ZmbvPutVector(ZmbvVector v, bool withXor, uint8_t* entry) {
    entry[0] = static_cast<uint8_t>((v.dx * 2 + (withXor ? 1 : 0)) & 0xFF);
    entry[1] = static_cast<uint8_t>((v.dy * 2) & 0xFF);
}

inline ZmbvVector ZmbvGetVector(const uint8_t* entry) {
    const int dx = entry[0] >> 1, dy = entry[1] >> 1;  // 7-bit two's complement
    return {dx >= 64 ? dx - 128 : dx, dy >= 64 ? dy - 128 : dy};
}
