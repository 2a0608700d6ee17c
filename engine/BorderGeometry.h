// Shape of the four corner brackets drawn around a recorded rectangle.
#pragma once

#include "framework/PixelRect.h"

struct BorderShape {
    // In coordinates local to the shape, right and bottom edges exclusive;
    // move by (offsetX, offsetY) onto the screen.
    PixelRect outer;
    PixelRect hole;  // exactly the recorded rectangle once moved
    // Cuts that remove the middle of the sides. For a side shorter than 54
    // pixels its cut would be empty or reversed; it is then left out and that
    // side stays one whole band, so the hole is never touched.
    bool hasHorizontalCut;
    PixelRect horizontalCut;
    bool hasVerticalCut;
    PixelRect verticalCut;
    int offsetX, offsetY;
};

// Band widths: 12 on the left and top, 11 on the right and bottom.
constexpr int BorderBand = 12;

BorderShape ComputeBorderShape(int left, int top, int width, int height);

// Whether the brackets of the inclusive rectangle can be painted at all.
bool BorderIsPaintable(int left, int top, int right, int bottom);
