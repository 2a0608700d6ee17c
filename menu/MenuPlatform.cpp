#include "menu/MenuPlatform.h"

#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

int CurrentOperatingSystemClass() {
    static const int osClass = [] {
        const bool nt = GetVersion() < 0x80000000u;
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        if (!GetVersionExA(&info)) return OperatingSystemClass(nt, nullptr);
        const PlatformVersion version{info.dwMajorVersion, info.dwMinorVersion};
        return OperatingSystemClass(nt, &version);
    }();
    return osClass;
}

bool ClassicThemeInUse() {
    static const bool classic = [] {
        ScopedRegKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Plus!\\Themes\\Current", 0,
                          KEY_READ, key.Out()) != ERROR_SUCCESS)
            return false;
        char value[261] = {};
        DWORD size = sizeof value - 1;  // at most 260 bytes, always terminated
        DWORD type = 0;
        if (RegQueryValueExA(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value),
                             &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return false;
        return IsClassicThemeFile(value);
    }();
    return classic;
}

bool XpLookInForce() { return IsXpLook(CurrentOperatingSystemClass(), ClassicThemeInUse()); }

SystemMenuColours CurrentSystemMenuColours() {
    return {GetSysColor(COLOR_WINDOW),    GetSysColor(COLOR_BTNFACE),  GetSysColor(COLOR_BTNSHADOW),
            GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_MENUTEXT), GetSysColor(COLOR_GRAYTEXT)};
}

bool FlatRoutineFor(HDC dc) {
    return UsesFlatRoutine((GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0, TheMenuLook);
}

bool FlatRoutineForScreen() {
    ScopedWindowDC screen(nullptr);
    return FlatRoutineFor(screen.Get());
}

ScopedMenuFont::ScopedMenuFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        m_font.Reset(CreateFontIndirectA(&metrics.lfMenuFont));
}

HWND MenuOwnerWindow() {
    const CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd && app->m_pMainWnd->GetSafeHwnd())
        return app->m_pMainWnd->GetSafeHwnd();
    return GetDesktopWindow();
}

int MenuTextWidth(HDC dc, const std::u16string& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, Wide(text), static_cast<int>(text.size()), &size);
    return size.cx;
}
