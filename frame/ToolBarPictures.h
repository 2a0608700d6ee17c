// The toolbar's pictures: eleven 32 x 32 pictures side by side in a 24-bit
// bitmap resource, drawn on pure red.
#pragma once

#include <windows.h>

#include <commctrl.h>

// An image list of the bitmap's pictures with the red background turned
// into the button face; null on failure.
HIMAGELIST LoadToolBarPictures(UINT bitmapId);
