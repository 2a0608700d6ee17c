#include "framework/Dpi.h"

namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);

// Looked up at run time: older systems' user32 lacks it, and a static
// import would keep the program from starting there.
DpiForWindow DpiForWindowFunction() {
    static const auto function = reinterpret_cast<DpiForWindow>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    return function;
}

}  // namespace

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : DefaultDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : DefaultDpi;
}

int WindowDpi(HWND window) {
    const DpiForWindow function = DpiForWindowFunction();
    const int dpi = function && window ? static_cast<int>(function(window)) : 0;
    return dpi > 0 ? dpi : SystemDpi();
}
