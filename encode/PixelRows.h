// Rows of the depths a codec may decompress to, made 32-bit.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes of a bitmap row of that width and depth, padded to 4 bytes.
size_t RowBytes(int width, int bitCount);
// bitCount 32, 24 or 16 (5-5-5) to blue, green, red and 255.
void RowToBgra(const uint8_t* row, int bitCount, int width, uint8_t* bgra);
