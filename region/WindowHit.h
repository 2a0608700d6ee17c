// Which listed window holds a point: the first rectangle in the list, which
// is in stacking order, topmost first.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "framework/PixelRect.h"

// The rectangles have exclusive right and bottom edges, as windows report them.
std::optional<std::size_t> FindWindowAt(const std::vector<PixelRect>& rects, int x, int y);
