// Reading the screen's pixels, for tests that look at what is drawn.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// The screen's pixels inside a rectangle, row by row, as COLORREF values.
class ScreenShot {
public:
    explicit ScreenShot(const RECT& area);
    COLORREF At(int screenX, int screenY) const;
    const RECT& Area() const { return m_area; }

private:
    RECT m_area;
    std::vector<uint32_t> m_pixels;  // 0x00RRGGBB as the DIB holds them
};
