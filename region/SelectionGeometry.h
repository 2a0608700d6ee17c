// Arithmetic of the selection window: rectangles in screen pixels, the
// fixed-size rectangle kept on the screen, and where the coordinate label goes.
// The selection itself always reports its right and bottom edges inclusive.
#pragma once

#include "framework/PixelRect.h"

// Swaps the x values or the y values where needed so that left <= right and top <= bottom.
PixelRect Normalize(PixelRect r);

// A dragged rectangle under this size in either direction was meant as a
// click: recording it would make a film of a few pixels.
constexpr int SmallestRecordedSide = 4;
bool TooSmallToRecord(const PixelRect& inclusive);

// The inclusive rectangle of width x height around a centre, halves truncated toward zero.
PixelRect CentredRect(int centreX, int centreY, int width, int height);

struct FixedPlacement {
    PixelRect rect;        // inclusive
    int centreX, centreY;  // the centre after the corrections
};

// The fixed-size rectangle centred on the cursor, pushed back onto the screen:
// left, then right, then top, then bottom edge, each seeing the one before.
// A size larger than the screen leaves the left (top) edge negative.
FixedPlacement PlaceFixedRect(int cursorX, int cursorY, int width, int height, int screenWidth,
                              int screenHeight);

struct LabelBox {
    int x, y, width, height;
};

// The label of a text tw x th around the inclusive rectangle: above it, or
// below when there is no room above; pulled left to end at the screen's right edge.
LabelBox PlaceLabel(const PixelRect& rect, int textWidth, int textHeight, int screenWidth);
