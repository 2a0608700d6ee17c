// The picture work that needs the device: reading a picture's pixels,
// putting pictures and their variants into a bitmap, and the embossed look
// of a disabled picture that has no grey variant.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "menu/PictureVariants.h"

// Picture index of list drawn on the button face, row by row (16 x 15),
// and the button face as the drawing renders it.
MenuPixels DrawnPicturePixels(HIMAGELIST list, int index, MenuColour& background);

// 16 x 15 pictures side by side in a new 32-bit bitmap; null on failure.
HBITMAP PictureStrip(const std::vector<const MenuPixels*>& pictures);

// Picture index of list embossed at (x, y): its picture pixels in the
// button shadow with a highlight one pixel down and right, on fill.
void DrawEmbossedPicture(HDC dc, HIMAGELIST list, int index, int x, int y, COLORREF fill);
