#include "region/SelectionPainter.h"

#include "framework/DragRect.h"
#include "framework/RectConversion.h"
#include "region/LabelFont.h"
#include "region/SelectionGeometry.h"
#include "region/SelectionLabel.h"

namespace {

constexpr SIZE FrameBorder = {4, 4};
constexpr SIZE NoBorder = {0, 0};
constexpr RECT NoRect = {0, 0, 0, 0};
constexpr int LabelCorner = 10;
constexpr UINT LabelTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

std::wstring FromLabelCodePage(const std::string& text) {
    const int n = MultiByteToWideChar(LabelCodePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(LabelCodePage, 0, text.data(), int(text.size()), wide.data(), n);
    return wide;
}

// Copies between the DC and a bitmap of the area's size, either way.
void CopyArea(HDC dc, HBITMAP bitmap, const RECT& area, bool toBitmap) {
    ScopedMemoryDC memory(dc);
    ScopedSelect select(memory.Get(), bitmap);
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (toBitmap)
        BitBlt(memory.Get(), 0, 0, w, h, dc, area.left, area.top, SRCCOPY);
    else
        BitBlt(dc, area.left, area.top, w, h, memory.Get(), 0, 0, SRCCOPY);
}

}  // namespace

void CSelectionPainter::SetScreenSize(int width, int height) {
    m_screenWidth = width;
    m_screenHeight = height;
}

void CSelectionPainter::FreezeScreen() {
    ScopedWindowDC screen(nullptr);
    m_frozen.Reset(CreateCompatibleBitmap(screen.Get(), m_screenWidth, m_screenHeight));
    ScopedMemoryDC memory(screen.Get());
    ScopedSelect select(memory.Get(), m_frozen.Get());
    BitBlt(memory.Get(), 0, 0, m_screenWidth, m_screenHeight, screen.Get(), 0, 0,
           SRCCOPY | CAPTUREBLT);
}

void CSelectionPainter::Paint(HDC dc) const {
    if (m_frozen.Get()) CopyArea(dc, m_frozen.Get(), {0, 0, m_screenWidth, m_screenHeight}, false);
    if (!m_frame) return;
    DrawDragRect(dc, ToRect(*m_frame), FrameBorder, NoRect, NoBorder);
    DrawLabel(dc);
}

void CSelectionPainter::DrawSelection(HDC dc, const PixelRect& old, const PixelRect& now) {
    DrawDragRect(dc, NoRect, NoBorder, ToRect(old), FrameBorder);
    RestoreUnderLabel(dc);

    m_labelText = FromLabelCodePage(FormatLabelText(now));
    SIZE text{};
    {
        ScopedLabelFont font(dc);
        GetTextExtentPoint32W(dc, m_labelText.c_str(), int(m_labelText.size()), &text);
    }
    const LabelBox box = PlaceLabel(now, text.cx, text.cy, m_screenWidth);
    SaveUnderLabel(dc, {box.x, box.y, box.x + box.width, box.y + box.height});

    DrawDragRect(dc, ToRect(now), FrameBorder, NoRect, NoBorder);
    m_frame = now;
    DrawLabel(dc);
}

void CSelectionPainter::EraseSelection(HDC dc) {
    if (!m_frame) return;
    DrawDragRect(dc, NoRect, NoBorder, ToRect(*m_frame), FrameBorder);
    RestoreUnderLabel(dc);
    m_saveUnder.Reset();
    m_frame.reset();
}

void CSelectionPainter::EndSelection() {
    m_saveUnder.Reset();
    m_frozen.Reset();
    m_frame.reset();
}

void CSelectionPainter::RestoreUnderLabel(HDC dc) const {
    if (m_saveUnder.Get()) CopyArea(dc, m_saveUnder.Get(), m_labelRect, false);
}

void CSelectionPainter::SaveUnderLabel(HDC dc, const RECT& area) {
    m_saveUnder.Reset(CreateCompatibleBitmap(dc, area.right - area.left, area.bottom - area.top));
    m_labelRect = area;
    CopyArea(dc, m_saveUnder.Get(), area, true);
}

void CSelectionPainter::DrawLabel(HDC dc) const {
    RECT r = m_labelRect;
    RoundRect(dc, r.left, r.top, r.right, r.bottom, LabelCorner, LabelCorner);
    ScopedLabelFont font(dc);
    DrawTextW(dc, m_labelText.c_str(), int(m_labelText.size()), &r, LabelTextFormat);
}
