#include "region/WindowList.h"

#include "framework/RectConversion.h"
#include "region/WindowHit.h"

void CWindowList::BuildWindowList() {
    m_rects.clear();
    m_handles.clear();
    EnumWindows(&CWindowList::AddWindow, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK CWindowList::AddWindow(HWND wnd, LPARAM list) {
    if (!(GetWindowLongA(wnd, GWL_STYLE) & WS_VISIBLE) || !IsWindowEnabled(wnd)) return TRUE;
    RECT r{};
    GetWindowRect(wnd, &r);
    auto* self = reinterpret_cast<CWindowList*>(list);
    self->m_rects.push_back(FromRect(r));
    self->m_handles.push_back(wnd);
    return TRUE;
}

std::optional<std::size_t> CWindowList::FindWindowAt(POINT p) const {
    return ::FindWindowAt(m_rects, p.x, p.y);
}

HWND DeepestChildAt(HWND wnd, POINT screenPoint) {
    for (;;) {
        POINT client = screenPoint;
        ScreenToClient(wnd, &client);
        HWND child = ChildWindowFromPoint(wnd, client);
        if (child == nullptr || child == wnd) return wnd;
        wnd = child;
    }
}
