// What the menu asks of the platform: the look in force, the system
// colours, the menu font and the owner window.
#pragma once

#include <windows.h>

#include <string>

#include "framework/ScopedHandles.h"
#include "menu/MenuColours.h"
#include "menu/MenuLook.h"

// The platform's class (MenuLook.h), found once.
int CurrentOperatingSystemClass();
// The classic-theme test, made once and then remembered.
bool ClassicThemeInUse();
bool XpLookInForce();

SystemMenuColours CurrentSystemMenuColours();

// The flat routine draws on dc unless it is a palette device.
bool FlatRoutineFor(HDC dc);
// The same for the screen, for measuring before anything is drawn.
bool FlatRoutineForScreen();

// The platform's menu font, deleted at scope end; null if the platform
// does not say which it is.
class ScopedMenuFont {
public:
    ScopedMenuFont();
    HFONT Get() const { return m_font.Get(); }

private:
    ScopedGdiObject<HFONT> m_font;
};

// The application's main window, or the desktop window when there is none.
HWND MenuOwnerWindow();

// Width of a text in the font selected into dc.
int MenuTextWidth(HDC dc, const std::u16string& text);

inline const wchar_t* Wide(const std::u16string& text) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "the platform's wide text is UTF-16");
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
