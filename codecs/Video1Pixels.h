// Pixel helpers shared by the Video 1 encoder: 4x4 blocks read from DIB rows
// and the RGB555 colours the format stores.
#pragma once

#include <cstdint>

// One 4x4 block, pixels in DIB memory order: bottom row first, left to right.
// This is also the order of the bits in a block's colour flags.
struct Video1BlockPixels {
    uint8_t r[16], g[16], b[16];
};

// The 8-bit value a decoder shows for a 5-bit component (bit replication).
inline int Expand5(int v) { return (v << 3) | (v >> 2); }

// The 5-bit component whose expansion is nearest to an 8-bit value.
int Quantize5(int v);

inline uint16_t Pack555(int r5, int g5, int b5) {
    return static_cast<uint16_t>((r5 << 10) | (g5 << 5) | b5);
}

// Reads the block whose bottom-left pixel is `row[0]` (`stride` bytes between
// rows) from 16-bit (5-5-5), 24-bit (BGR) or 32-bit (BGRX) pixels.
void LoadBlock(const uint8_t* row, int stride, int bitCount, Video1BlockPixels& out);

// Sum of squared differences between a block and 16 RGB555 pixels.
uint32_t BlockError(const Video1BlockPixels& block, const uint16_t* rgb555);
