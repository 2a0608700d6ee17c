// Screen-like frames for the ZMBV driver's tests: rows of glyph-like marks
// that scroll up three rows a frame, and a patterned rectangle moving across
// them, as bottom-up BI_RGB bitmaps of 16 (5-5-5), 24 or 32 bits.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "tests/win/RgbHeader.h"

// Row padding is zero; so is the fourth byte of 32-bit pixels, which the
// stream does not keep.
std::vector<uint8_t> SceneFrame(int width, int height, int bitCount, int frame);

// A 24-bit frame as the 32-bit bitmap that decoding it gives: B, G, R, 0.
std::vector<uint8_t> Widen24To32(const std::vector<uint8_t>& dib, int width, int height);
