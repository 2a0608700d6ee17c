// The toolbar's pictures: 32 x 32 each, side by side in a 24-bit bitmap
// resource, drawn on pure red; the toolbar draws them unmasked.
#pragma once

#include "framework/PictureLoader.h"

constexpr PictureStrip ToolBarPictures{32, 32, RGB(255, 0, 0), false};
