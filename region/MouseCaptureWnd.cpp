#include "region/MouseCaptureWnd.h"

#include <windowsx.h>

#include "framework/ScopedHandles.h"
#include "region/SelectionGeometry.h"
#include "res/resource.h"

namespace {

PixelRect Between(POINT a, POINT b) { return Normalize({a.x, a.y, b.x, b.y}); }

constexpr PixelRect NoSelection = {0, 0, 0, 0};

}  // namespace

BOOL CMouseCaptureWnd::CreateCaptureWnd() {
    m_screenWidth = GetSystemMetrics(SM_CXSCREEN);
    m_screenHeight = GetSystemMetrics(SM_CYSCREEN);
    m_painter.SetScreenSize(m_screenWidth, m_screenHeight);
    HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_SELECTION_CURSOR));
    return CreateEx(0, AfxRegisterWndClass(0, cursor), "Mouse Capture Window", WS_POPUP, 0, 0,
                    m_screenWidth, m_screenHeight, nullptr, nullptr);
}

void CMouseCaptureWnd::StartRubberBand(CWnd* owner) { Start(owner, Mode::RubberBand); }

void CMouseCaptureWnd::StartFixedSize(CWnd* owner, int width, int height) {
    m_fixedWidth = width;
    m_fixedHeight = height;
    m_firstMove = true;
    Start(owner, Mode::FixedSize);
}

void CMouseCaptureWnd::StartWindowPick(CWnd* owner) {
    m_windowList.BuildWindowList();
    // A window picked in an earlier selection is not on this screen: a click
    // before anything is highlighted must not report it.
    m_picked = nullptr;
    Start(owner, Mode::Window);
}

void CMouseCaptureWnd::Start(CWnd* owner, Mode mode) {
    m_owner = owner;
    m_mode = mode;
    m_selecting = true;
    m_previousForeground = GetForegroundWindow();
    m_painter.FreezeScreen();
    ShowWindow(SW_SHOW);
    // Escape reaches only the window with the keyboard.
    SetForegroundWindow(m_hWnd);
    SetFocus(m_hWnd);
    // Paint the still picture now, before any mouse move draws on the window.
    UpdateWindow(m_hWnd);
}

void CMouseCaptureWnd::CancelSelection() {
    if (!m_selecting) return;
    End();
    PostToOwner(WM_USER_REGIONCANCELLED, 0, 0);
}

LRESULT CMouseCaptureWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_LBUTTONDOWN:
            OnLButtonDown(p);
            break;
        case WM_MOUSEMOVE:
            OnMouseMove(p);
            break;
        case WM_LBUTTONUP:
            OnLButtonUp(p);
            break;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) CancelSelection();
            break;
        case WM_RBUTTONDOWN:
            return 0;
        case WM_RBUTTONUP:
            // On the release, so that it does not reach the window beneath.
            CancelSelection();
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CMouseCaptureWnd::OnLButtonDown(POINT p) {
    if (m_mode != Mode::RubberBand) return;
    m_anchor = m_current = p;
    SetCapture(m_hWnd);
}

void CMouseCaptureWnd::OnMouseMove(POINT p) {
    switch (m_mode) {
        case Mode::RubberBand:
            if (!HasCapture()) return;
            DrawSelection(Between(m_anchor, m_current), Between(m_anchor, p));
            m_current = p;
            break;
        case Mode::FixedSize:
            OnFixedSizeMove(p);
            break;
        case Mode::Window:
            OnWindowModeMove(p);
            break;
    }
}

void CMouseCaptureWnd::OnFixedSizeMove(POINT p) {
    const PixelRect old =
        m_firstMove ? NoSelection
                    : Normalize(CentredRect(m_anchor.x, m_anchor.y, m_fixedWidth, m_fixedHeight));
    m_firstMove = false;
    const FixedPlacement now =
        PlaceFixedRect(p.x, p.y, m_fixedWidth, m_fixedHeight, m_screenWidth, m_screenHeight);
    DrawSelection(old, now.rect);
    m_anchor = {now.centreX, now.centreY};
}

void CMouseCaptureWnd::OnWindowModeMove(POINT p) {
    if (!HasCapture()) SetCapture(m_hWnd);
    const auto index = m_windowList.FindWindowAt(p);
    if (!index) return;
    const HWND wnd = DeepestChildAt(m_windowList.Handle(*index), p);
    RECT r;
    if (!GetWindowRect(wnd, &r)) return;  // destroyed since the list was made
    // Nothing was drawn yet in this selection until a window was picked.
    const PixelRect old = m_picked ? Between(m_anchor, m_current) : NoSelection;
    m_anchor = {r.left, r.top};
    m_current = {r.right - 1, r.bottom - 1};
    DrawSelection(old, Between(m_anchor, m_current));
    m_picked = wnd;
}

void CMouseCaptureWnd::OnLButtonUp(POINT p) {
    switch (m_mode) {
        case Mode::RubberBand:
            OnRubberBandUp(p);
            break;
        case Mode::FixedSize:
            // A click before the first move places the rectangle where it is.
            if (m_firstMove) OnFixedSizeMove(p);
            Finish(CentredRect(m_anchor.x, m_anchor.y, m_fixedWidth, m_fixedHeight));
            break;
        case Mode::Window:
            ReleaseCapture();
            OnWindowModeUp();
            break;
    }
}

void CMouseCaptureWnd::OnRubberBandUp(POINT p) {
    if (!HasCapture()) return;
    ReleaseCapture();
    const PixelRect band = Between(m_anchor, p);
    if (!TooSmallToRecord(band)) {
        Finish(band);
        return;
    }
    // Taken as a stray click: rub the frame out and let the user drag again.
    ScopedWindowDC dc(m_hWnd);
    m_painter.EraseSelection(dc.Get());
}

void CMouseCaptureWnd::OnWindowModeUp() {
    if (!m_picked) return;  // nothing highlighted yet: the selection goes on
    RECT r;
    // A picked window that has gone since leaves the rectangle on the screen.
    if (!GetWindowRect(m_picked, &r)) {
        Finish(Between(m_anchor, m_current));
        return;
    }
    Finish({r.left, r.top, r.right - 1, r.bottom - 1});
}

void CMouseCaptureWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    m_painter.Paint(dc);
    EndPaint(m_hWnd, &ps);
}

void CMouseCaptureWnd::DrawSelection(const PixelRect& old, const PixelRect& now) {
    ScopedWindowDC dc(m_hWnd);
    m_painter.DrawSelection(dc.Get(), old, now);
}

void CMouseCaptureWnd::Finish(const PixelRect& inclusive) {
    End();
    const RegionParams params = PackRegion(inclusive);
    PostToOwner(WM_USER_REGIONSELECTED, params.wParam, params.lParam);
}

void CMouseCaptureWnd::End() {
    if (HasCapture()) ReleaseCapture();
    ShowWindow(SW_HIDE);
    m_painter.EndSelection();
    m_selecting = false;
    // A window hidden meanwhile (a dialog that waits for the result) shows
    // and activates itself; activating it here would swallow the keyboard.
    const HWND previous = m_previousForeground;
    m_previousForeground = nullptr;
    if (previous && IsWindow(previous) && IsWindowVisible(previous)) SetForegroundWindow(previous);
}

void CMouseCaptureWnd::PostToOwner(UINT message, WPARAM wParam, LPARAM lParam) const {
    const HWND owner = m_owner ? m_owner->GetSafeHwnd() : nullptr;
    if (owner && IsWindow(owner)) PostMessageA(owner, message, wParam, lParam);
}
