// A toolbar resource as a source of menu pictures: its buttons (read
// through a temporary toolbar window) and its bitmap of 16 x 15 pictures.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

struct ToolbarButtonPicture {
    UINT command;
    int picture;  // in the toolbar's bitmap
};

// The buttons of toolbar resource id that carry a command; false when the
// resource cannot be loaded.
bool ReadToolbarButtons(UINT id, std::vector<ToolbarButtonPicture>& buttons);

// Bitmap resource id as a masked list of 16 x 15 pictures. Its light grey
// (192, 192, 192) becomes the button face, which is the mask colour.
HIMAGELIST LoadToolbarPictures(UINT id);
