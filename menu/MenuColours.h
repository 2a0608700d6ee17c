// Colour arithmetic of the owner-drawn menu. Colours are COLORREF values
// (0x00BBGGRR). Kept free of <windows.h>.
#pragma once

#include <cstdint>

using MenuColour = uint32_t;

constexpr MenuColour MakeMenuColour(int red, int green, int blue) {
    return static_cast<MenuColour>(red | (green << 8) | (blue << 16));
}
constexpr int RedOf(MenuColour c) { return c & 0xFF; }
constexpr int GreenOf(MenuColour c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(MenuColour c) { return (c >> 16) & 0xFF; }

// Each channel x becomes x + f (255 - x), truncated. A factor outside
// (0, 1] leaves the colour as it is.
MenuColour Lighten(MenuColour colour, double factor);
// Each channel x becomes x - f x, truncated; the same rule for the factor.
MenuColour Darken(MenuColour colour, double factor);

// The system colours the menu is drawn in.
struct SystemMenuColours {
    MenuColour window, buttonFace, buttonShadow, highlight, menuText, grayText;
};

// The flat routine's colours. The XP look keeps the button face and the
// grey text as they are; the other look pales them.
struct FlatMenuColours {
    MenuColour background;         // items
    MenuColour column;             // the icon column
    MenuColour highlight;          // frames of the selection and of checked boxes
    MenuColour selection;          // fill of the selected item
    MenuColour checkedSelected;    // fill of a checked item's box, selected
    MenuColour checkedUnselected;  // and not selected
    MenuColour text;
    MenuColour disabledText;
};
FlatMenuColours FlatColours(const SystemMenuColours& system, bool xpLook);

// The colour of a picture's shadow variant.
MenuColour ShadowVariantColour(MenuColour buttonShadow, bool xpLook);
