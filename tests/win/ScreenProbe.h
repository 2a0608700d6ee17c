// Helpers for tests that look at the screen: pumping this thread's messages
// while waiting for a condition with a time limit, and reading screen pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

// Pumps messages and polls the condition until it holds or the limit passes.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
// The same, checking at every turn that `kept` still holds: false as soon as
// it does not, so that a wait also watches for what must not happen meanwhile.
bool WaitUntilKeeping(const std::function<bool()>& condition, const std::function<bool()>& kept,
                      DWORD timeoutMs);

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
