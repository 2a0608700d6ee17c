// Input pixels to the packed top-down picture a ZMBV stream carries.
#pragma once

#include <cstddef>
#include <cstdint>

// The stream format for input of 16 (5-5-5), 24 or 32 bits; 0 for others.
uint8_t ZmbvFormatFor(int bitCount);

// Copies `height` rows starting at `topRow`, `stride` bytes apart (negative
// for bottom-up bitmaps), into `picture`: 15-bit words with the top bit
// clear, or B, G, R, 0 for 24 and 32-bit input.
void ZmbvLoadPicture(const uint8_t* topRow, ptrdiff_t stride, int width, int height, int bitCount,
                     uint8_t* picture);
