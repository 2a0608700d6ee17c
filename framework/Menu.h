// Base of the program's menu objects: it owns a menu handle until the
// handle is handed on, and draws and measures owner-drawn items when the
// window that shows the menu passes their messages on.
#pragma once

#include <windows.h>

class CMenu {
public:
    CMenu() = default;
    virtual ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU GetSafeHmenu() const { return m_hMenu; }
    // Hands the menu on (to a window, which destroys it with itself).
    HMENU Detach();
    // Destroys the menu if this object still owns it.
    virtual BOOL DestroyMenu();

    virtual void DrawItem(DRAWITEMSTRUCT&) {}
    virtual void MeasureItem(MEASUREITEMSTRUCT&) {}

protected:
    HMENU m_hMenu = nullptr;
};
