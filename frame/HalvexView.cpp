#include "frame/HalvexView.h"

#include <algorithm>

#include "res/resource.h"

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
    // Only the picture's own pixels: beyond them the dark fill stays.
    BitBlt(dc, 0, 0, std::min<LONG>(client.right, size.bmWidth),
           std::min<LONG>(client.bottom, size.bmHeight), memory.Get(), 0, 0, SRCCOPY);
}

LRESULT CHalvexView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(m_hWnd, &paint);
            EndPaint(m_hWnd, &paint);
            return 0;
        }
    }
    return CView::WindowProc(message, wParam, lParam);
}
