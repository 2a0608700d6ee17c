// The toolbar pictures are drawn on pure red, which is replaced by the
// button-face colour before the pictures go into their image lists. Kept
// free of <windows.h>.
#pragma once

#include <cstdint>

// Bottom-up or top-down 24-bit rows of stride bytes, blue-green-red per
// pixel; every pixel of exactly (255, 0, 0) red becomes colour, a COLORREF
// (0x00BBGGRR).
void ReplacePureRed(uint8_t* bits, int width, int height, int stride, uint32_t colour);
