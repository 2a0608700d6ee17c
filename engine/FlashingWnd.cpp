#include "engine/FlashingWnd.h"

#include "engine/BorderGeometry.h"
#include "framework/ScopedHandles.h"

namespace {

using ScopedRegion = ScopedGdiObject<HRGN>;

HRGN MakeRegion(const PixelRect& r) { return CreateRectRgn(r.left, r.top, r.right, r.bottom); }

// Not activated by showing or clicking; layered and transparent, so that
// clicks pass through to the window beneath.
constexpr DWORD BorderExStyle =
    WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT;
constexpr DWORD ExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE, Windows 10 2004 on

// Looked up at run time: older systems lack the call.
void KeepOutOfCapture(HWND wnd) {
    using SetAffinity = BOOL(WINAPI*)(HWND, DWORD);
    const auto set = reinterpret_cast<SetAffinity>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetWindowDisplayAffinity")));
    if (set) set(wnd, ExcludeFromCapture);
}

}  // namespace

BOOL CFlashingWnd::CreateBorder(const char* title) {
    m_screenWidth = GetSystemMetrics(SM_CXSCREEN);
    m_screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const char* className = AfxRegisterWndClass(0, LoadCursorA(nullptr, IDC_ARROW));
    const BOOL created = CreateEx(BorderExStyle, className, title, WS_POPUP, 0, 0, m_screenWidth,
                                  m_screenHeight, nullptr, nullptr);
    m_region = nullptr;
    if (!created) return FALSE;
    // A layered window shows nothing until it is given its opacity.
    SetLayeredWindowAttributes(m_hWnd, 0, 255, LWA_ALPHA);
    KeepOutOfCapture(m_hWnd);
    return TRUE;
}

void CFlashingWnd::SetBorderRegion(int left, int top, int width, int height) {
    m_left = left;
    m_top = top;
    m_right = left + width - 1;
    m_bottom = top + height - 1;

    const BorderShape shape = ComputeBorderShape(left, top, width, height);
    ScopedRegion outer(MakeRegion(shape.outer));
    ScopedRegion hole(MakeRegion(shape.hole));
    CombineRgn(outer.Get(), outer.Get(), hole.Get(), RGN_DIFF);
    if (shape.hasHorizontalCut) {
        ScopedRegion cut(MakeRegion(shape.horizontalCut));
        CombineRgn(outer.Get(), outer.Get(), cut.Get(), RGN_DIFF);
    }
    if (shape.hasVerticalCut) {
        ScopedRegion cut(MakeRegion(shape.verticalCut));
        CombineRgn(outer.Get(), outer.Get(), cut.Get(), RGN_DIFF);
    }
    OffsetRgn(outer.Get(), shape.offsetX, shape.offsetY);
    // The window owns the region from here on and frees the one set before.
    m_region = outer.Release();
    SetWindowRgn(m_hWnd, m_region, TRUE);
}

void CFlashingWnd::PaintBorder(COLORREF colour) {
    ScopedWindowDC dc(m_hWnd);
    if (!dc.Get() || !BorderIsPaintable(m_left, m_top, m_right, m_bottom)) return;
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    ScopedSelect selectBrush(dc.Get(), brush.Get());
    ScopedSelect selectPen(dc.Get(), pen.Get());
    // Fills the whole outer box; the window region clips it to the brackets.
    Rectangle(dc.Get(), m_left - BorderBand, m_top - BorderBand, m_right + BorderBand,
              m_bottom + BorderBand);
}

void CFlashingWnd::ShowBorder(bool show) { ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE); }

LRESULT CFlashingWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return TRUE;  // never erase: only PaintBorder draws
    return CWnd::WindowProc(message, wParam, lParam);
}
