// Sizes and places of the owner-drawn menu's parts, in pixels. An item is
// laid out as an icon column (the picture or the check mark), the text, and
// the accelerator right-aligned near the item's right edge. Rectangles have
// exclusive right and bottom edges, as the platform's do. Kept free of
// <windows.h>.
#pragma once

#include <array>

#include "framework/PixelRect.h"

struct MenuPoint {
    int x, y;
    bool operator==(const MenuPoint& o) const { return x == o.x && y == o.y; }
};

struct MenuSize {
    int cx, cy;
    bool operator==(const MenuSize& o) const { return cx == o.cx && cy == o.cy; }
};

constexpr int MenuPictureWidth = 16;
constexpr int MenuPictureHeight = 15;
// Between the icon column and the text.
constexpr int MenuTextGap = 8;
// Between the accelerator and the item's right edge.
constexpr int AcceleratorGap = 16;
// The classic routine's text starts this far from the item's left edge.
constexpr int ClassicTextIndent = MenuPictureWidth + 9;

// The space beside the picture: 7 when the flat routine draws and picture
// effects are on (room for the raised picture's shadow), else 4.
int PictureMargin(bool flatRoutine, bool pictureEffects);
inline int IconColumnWidth(int margin) { return MenuPictureWidth + margin; }

// What MeasureItem reports. systemMenuHeight is the platform's menu bar height.
MenuSize SeparatorSize(bool flatRoutine, int margin, int systemMenuHeight);
MenuSize ItemSize(bool flatRoutine, int margin, int textWidth, int systemMenuHeight);

// The box around the picture or check mark inside the icon column.
PixelRect PictureBox(const PixelRect& item, int columnWidth);
// The picture's top-left corner: centred in the column and the item's
// height, never above or left of the item.
MenuPoint PicturePosition(const PixelRect& item, int columnWidth);

// Where the check glyph starts inside its box.
MenuPoint CheckGlyphOrigin(const PixelRect& box);
// The tick: seven one-pixel columns, each two pixels tall from the top given.
std::array<MenuPoint, 7> TickColumns(MenuPoint origin);
constexpr int TickColumnHeight = 2;
// The radio dot: a 6 x 6 ellipse.
PixelRect RadioDot(MenuPoint origin);

// The flat routine's text: from the column's right edge plus the gap to the
// item's right edge, one pixel up. The accelerator ends AcceleratorGap
// before the right edge.
PixelRect FlatTextRect(const PixelRect& item, int columnWidth);
PixelRect AcceleratorRect(const PixelRect& text);

// The separator's etched line, drawn along the top of this rectangle.
PixelRect SeparatorLine(const PixelRect& item, int columnWidth, int margin);
