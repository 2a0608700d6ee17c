#include "frame/HalvexView.h"

#include <algorithm>

#include "framework/Dpi.h"
#include "res/resource.h"

namespace {

// WM_DPICHANGED_AFTERPARENT (Windows 10 1703), which this toolchain's
// headers leave out.
constexpr UINT DpiChangedAfterParent = 0x02E3;

}  // namespace

CHalvexView::CHalvexView()
    : m_picture(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                                MAKEINTRESOURCEA(IDB_VIEW_PICTURE), IMAGE_BITMAP,
                                                0, 0, LR_DEFAULTCOLOR))) {}

void CHalvexView::OnEraseBkgnd(HDC dc) {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_3DDKSHADOW));
    PatBlt(dc, 0, 0, client.right, client.bottom, PATCOPY);
    SelectObject(dc, oldBrush);
    ScopedMemoryDC memory(dc);
    if (!memory.Get() || !m_picture.Get()) return;
    BITMAP size{};
    GetObjectA(m_picture.Get(), sizeof size, &size);
    ScopedSelect picture(memory.Get(), m_picture.Get());
    const int dpi = WindowDpi(m_hWnd);
    // Only the picture's own pixels: beyond them the dark fill stays.
    const int width = std::min<int>(client.right, ScaleForDpi(size.bmWidth, dpi));
    const int height = std::min<int>(client.bottom, ScaleForDpi(size.bmHeight, dpi));
    if (dpi == DefaultDpi) {
        BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
        return;
    }
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, width * DefaultDpi / dpi,
               height * DefaultDpi / dpi, SRCCOPY);
}

LRESULT CHalvexView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
            return TRUE;
        case DpiChangedAfterParent:
            InvalidateRect(m_hWnd, nullptr, TRUE);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(m_hWnd, &paint);
            EndPaint(m_hWnd, &paint);
            return 0;
        }
    }
    return CView::WindowProc(message, wParam, lParam);
}
