// Small drawing steps shared by the flat and the classic routine.
#pragma once

#include <windows.h>

#include <string>

#include "menu/MenuLayout.h"

inline RECT ToRect(const MenuRect& r) { return {r.left, r.top, r.right, r.bottom}; }
inline MenuRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void FillSolid(HDC dc, const MenuRect& r, COLORREF colour);
void FrameSolid(HDC dc, const MenuRect& r, COLORREF colour);
// A one-pixel border: top and left in one colour, bottom and right in the other.
void Frame3d(HDC dc, const MenuRect& r, COLORREF topLeft, COLORREF bottomRight);

// The tick, or the radio dot, in its place inside box.
void DrawCheckGlyph(HDC dc, const MenuRect& box, bool radio, COLORREF colour);

// The label left-aligned in text, the accelerator (after a tab)
// right-aligned in its own rectangle; transparent background.
void DrawLabelAndAccelerator(HDC dc, const std::u16string& itemText, const MenuRect& text,
                             COLORREF colour);

// A separator: the item and icon column filled, then an etched line from
// the column's right edge plus margin to the item's right edge.
void DrawSeparator(HDC dc, const MenuRect& item, COLORREF background, COLORREF column,
                   int columnWidth, int margin);

// Saves the device context's state and restores it at scope end.
class ScopedSavedDC {
public:
    explicit ScopedSavedDC(HDC dc) : m_dc(dc), m_saved(SaveDC(dc)) {}
    ~ScopedSavedDC() {
        if (m_saved) RestoreDC(m_dc, m_saved);
    }
    ScopedSavedDC(const ScopedSavedDC&) = delete;
    ScopedSavedDC& operator=(const ScopedSavedDC&) = delete;

private:
    HDC m_dc;
    int m_saved;
};
