// Small drawing steps shared by the flat and the classic routine.
#pragma once

#include <windows.h>

#include <string>

#include "framework/RectConversion.h"
#include "menu/MenuLayout.h"

void FillSolid(HDC dc, const PixelRect& r, COLORREF colour);
void FrameSolid(HDC dc, const PixelRect& r, COLORREF colour);
// A one-pixel border: top and left in one colour, bottom and right in the other.
void Frame3d(HDC dc, const PixelRect& r, COLORREF topLeft, COLORREF bottomRight);

// The tick, or the radio dot, in its place inside box.
void DrawCheckGlyph(HDC dc, const PixelRect& box, bool radio, COLORREF colour);

// The label left-aligned in text, the accelerator (after a tab)
// right-aligned in its own rectangle; transparent background.
void DrawLabelAndAccelerator(HDC dc, const std::u16string& itemText, const PixelRect& text,
                             COLORREF colour);

// A separator: the item and icon column filled, then an etched line from
// the column's right edge plus margin to the item's right edge.
void DrawSeparator(HDC dc, const PixelRect& item, COLORREF background, COLORREF column,
                   int columnWidth, int margin);
