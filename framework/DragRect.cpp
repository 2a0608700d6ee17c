#include "framework/DragRect.h"

#include "framework/ScopedHandles.h"

namespace {

using ScopedRegion = ScopedGdiObject<HRGN>;

// The band between the rectangle and the same one shrunk by the size; empty
// for an empty rectangle.
HRGN CreateBandRegion(const RECT& r, SIZE size) {
    HRGN band = CreateRectRgn(0, 0, 0, 0);
    if (IsRectEmpty(&r)) return band;
    ScopedRegion outer(CreateRectRgnIndirect(&r));
    ScopedRegion inner(
        CreateRectRgn(r.left + size.cx, r.top + size.cy, r.right - size.cx, r.bottom - size.cy));
    CombineRgn(band, outer.Get(), inner.Get(), RGN_DIFF);
    return band;
}

}  // namespace

HBRUSH CreateHalftoneBrush() {
    const WORD rows[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    ScopedGdiObject<HBITMAP> pattern(CreateBitmap(8, 8, 1, 1, rows));
    return CreatePatternBrush(pattern.Get());
}

void DrawDragRect(HDC dc, const RECT& rect, SIZE size, const RECT& lastRect, SIZE lastSize) {
    ScopedRegion update(CreateBandRegion(rect, size));
    ScopedRegion last(CreateBandRegion(lastRect, lastSize));
    CombineRgn(update.Get(), update.Get(), last.Get(), RGN_XOR);

    RECT box;
    if (GetRgnBox(update.Get(), &box) == NULLREGION) return;
    ScopedGdiObject<HBRUSH> brush(CreateHalftoneBrush());
    const int saved = SaveDC(dc);
    ExtSelectClipRgn(dc, update.Get(), RGN_AND);
    // The pattern's clear bits take the text colour and its set bits the
    // background colour: black leaves a pixel alone, white inverts it.
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    SelectObject(dc, brush.Get());
    PatBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
    RestoreDC(dc, saved);
}
