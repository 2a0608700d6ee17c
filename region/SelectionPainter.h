// Draws the marked rectangle on the selection window: an inverted frame and
// a coordinate label, over a still picture of the screen taken when the
// selection starts (a window without a background does not keep showing the
// screen beneath it everywhere; under Wine it shows black).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "framework/PixelRect.h"
#include "framework/ScopedHandles.h"

class CSelectionPainter {
public:
    void SetScreenSize(int width, int height);

    // Takes the still picture; call while the selection window is hidden.
    void FreezeScreen();
    // Shows the picture and, on top, the frame and label drawn last.
    void Paint(HDC dc) const;
    // Erases the old frame and label and draws the new ones (inclusive rectangles).
    void DrawSelection(HDC dc, const PixelRect& old, const PixelRect& now);
    // Erases the frame and label drawn last; the picture stays.
    void EraseSelection(HDC dc);
    // Drops the picture and the saved label background.
    void EndSelection();

    const RECT& LabelRect() const { return m_labelRect; }

private:
    void RestoreUnderLabel(HDC dc) const;
    void SaveUnderLabel(HDC dc, const RECT& area);
    void DrawLabel(HDC dc) const;

    int m_screenWidth = 0, m_screenHeight = 0;
    ScopedGdiObject<HBITMAP> m_frozen;
    ScopedGdiObject<HBITMAP> m_saveUnder;  // the screen under the label
    RECT m_labelRect{};
    std::optional<PixelRect> m_frame;  // the frame on the screen now
    std::wstring m_labelText;
};
