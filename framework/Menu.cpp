#include "framework/Menu.h"

CMenu::~CMenu() {
    if (m_hMenu) ::DestroyMenu(m_hMenu);
}

HMENU CMenu::Detach() {
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu) return FALSE;
    const BOOL destroyed = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return destroyed;
}
