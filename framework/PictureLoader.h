// Image lists of the pictures side by side in a bitmap resource, all of one
// size, drawn on a background colour that becomes the button face.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/DpiScale.h"

struct PictureStrip {
    int width, height;    // of each picture
    COLORREF background;  // replaced by the button face
    bool masked;          // the list then has a mask: where the button face is
};

// An image list of the pictures of bitmap resource bitmapId, drawn for 96
// dots per inch and scaled to dpi; null on failure.
HIMAGELIST LoadPictureList(UINT bitmapId, const PictureStrip& strip, int dpi = DefaultDpi);
