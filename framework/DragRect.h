// The drag rectangle: a band along the inside of a rectangle, inverted
// through a 50 % halftone brush so that inverting it again restores the pixels.
#pragma once

#include <windows.h>

// Inverts the band of rect (border size thick) and the band of lastRect
// (lastSize thick) in one pass; where the two overlap the pixels stay as they
// are, so moving a frame is one call. An empty rectangle or a zero size has no band.
void DrawDragRect(HDC dc, const RECT& rect, SIZE size, const RECT& lastRect, SIZE lastSize);

// The 8 x 8 checkerboard of single pixels that DrawDragRect inverts through.
HBRUSH CreateHalftoneBrush();
