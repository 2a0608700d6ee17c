// The top-level windows that a window-mode selection can pick, listed once
// when it starts: visible and enabled ones only, topmost first, with their
// rectangles at that moment.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <vector>

#include "framework/PixelRect.h"

class CWindowList {
public:
    void BuildWindowList();
    std::optional<std::size_t> FindWindowAt(POINT screenPoint) const;
    HWND Handle(std::size_t index) const { return m_handles[index]; }

private:
    static BOOL CALLBACK AddWindow(HWND wnd, LPARAM list);

    std::vector<PixelRect> m_rects;  // right and bottom exclusive
    std::vector<HWND> m_handles;
};

// The deepest child window of a top-level window under a screen point; the
// window itself when no child holds the point. Hidden and disabled children count.
HWND DeepestChildAt(HWND topLevel, POINT screenPoint);
