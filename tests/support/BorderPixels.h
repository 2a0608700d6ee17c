// Which screen pixels the shaped border window shows, derived from the shape
// the same way the window region is built: outer box minus hole and cuts.
#pragma once

#include "engine/BorderGeometry.h"

inline bool InsideBorderRect(const PixelRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

inline bool BorderContains(const BorderShape& s, int x, int y) {
    const int lx = x - s.offsetX;
    const int ly = y - s.offsetY;
    if (!InsideBorderRect(s.outer, lx, ly) || InsideBorderRect(s.hole, lx, ly)) return false;
    if (s.hasHorizontalCut && InsideBorderRect(s.horizontalCut, lx, ly)) return false;
    if (s.hasVerticalCut && InsideBorderRect(s.verticalCut, lx, ly)) return false;
    return true;
}
