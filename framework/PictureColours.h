// Pictures are drawn on a background colour of their own, which is replaced
// by the button-face colour before the pictures go into their image lists.
// Kept free of <windows.h>.
#pragma once

#include <cstdint>

// Bottom-up or top-down 24-bit rows of stride bytes, blue-green-red per
// pixel; every pixel of exactly the colour from becomes to. Both colours
// are COLORREF values (0x00BBGGRR).
void ReplaceColour(uint8_t* bits, int width, int height, int stride, uint32_t from, uint32_t to);
