#include "region/WindowHit.h"

std::optional<std::size_t> FindWindowAt(const std::vector<PixelRect>& rects, int x, int y) {
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const PixelRect& r = rects[i];
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return i;
    }
    return std::nullopt;
}
