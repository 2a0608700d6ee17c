#include "menu/MenuGdi.h"

#include "framework/ScopedHandles.h"
#include "menu/MenuPlatform.h"
#include "menu/MenuText.h"

void FillSolid(HDC dc, const PixelRect& r, COLORREF colour) {
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    const RECT rect = ToRect(r);
    FillRect(dc, &rect, brush.Get());
}

void FrameSolid(HDC dc, const PixelRect& r, COLORREF colour) {
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    const RECT rect = ToRect(r);
    FrameRect(dc, &rect, brush.Get());
}

void Frame3d(HDC dc, const PixelRect& r, COLORREF topLeft, COLORREF bottomRight) {
    FillSolid(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

void DrawCheckGlyph(HDC dc, const PixelRect& box, bool radio, COLORREF colour) {
    const MenuPoint origin = CheckGlyphOrigin(box);
    if (!radio) {
        for (const MenuPoint& top : TickColumns(origin))
            FillSolid(dc, {top.x, top.y, top.x + 1, top.y + TickColumnHeight}, colour);
        return;
    }
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    ScopedSelect selectBrush(dc, brush.Get()), selectPen(dc, pen.Get());
    const PixelRect dot = RadioDot(origin);
    Ellipse(dc, dot.left, dot.top, dot.right, dot.bottom);
}

void DrawLabelAndAccelerator(HDC dc, const std::u16string& itemText, const PixelRect& text,
                             COLORREF colour) {
    constexpr UINT Format = DT_SINGLELINE | DT_VCENTER;
    const MenuTextParts parts = SplitAtTabs(itemText);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    RECT label = ToRect(text);
    DrawTextW(dc, Wide(parts.label), static_cast<int>(parts.label.size()), &label,
              Format | DT_LEFT);
    if (!parts.hasTab) return;
    RECT accelerator = ToRect(AcceleratorRect(text));
    DrawTextW(dc, Wide(parts.accelerator), static_cast<int>(parts.accelerator.size()), &accelerator,
              Format | DT_RIGHT);
}

void DrawSeparator(HDC dc, const PixelRect& item, COLORREF background, COLORREF column,
                   int columnWidth, int margin) {
    FillSolid(dc, item, background);
    FillSolid(dc, {item.left, item.top, item.left + columnWidth, item.bottom}, column);
    RECT line = ToRect(SeparatorLine(item, columnWidth, margin));
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
}
