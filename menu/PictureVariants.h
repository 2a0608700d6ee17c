// The faded, shadow and grey variants of a menu picture, made from its
// pixels drawn on the button face. Kept free of <windows.h>.
#pragma once

#include <cstdint>
#include <vector>

#include "menu/MenuColours.h"

using MenuPixels = std::vector<MenuColour>;

struct PictureVariants {
    MenuPixels faded;   // every picture pixel lightened by 0.3
    MenuPixels shadow;  // every picture pixel in the shadow colour
    MenuPixels grey;    // the button shadow lightened by each pixel's brightness
};

// Pixels equal to background are left alone in every variant.
PictureVariants MakePictureVariants(const MenuPixels& picture, MenuColour background,
                                    MenuColour shadowColour, MenuColour buttonShadow);

// A 32-bit device-independent pixel (0x00RRGGBB) as a colour, and back.
constexpr MenuColour FromDibPixel(uint32_t p) {
    return MakeMenuColour((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}
constexpr uint32_t ToDibPixel(MenuColour c) {
    return static_cast<uint32_t>(RedOf(c) << 16 | GreenOf(c) << 8 | BlueOf(c));
}
