// The state a command's user-interface elements (menu item, toolbar button)
// should show, asked of the command's owner before they are displayed.
#pragma once

#include <windows.h>

struct CCmdUI {
    explicit CCmdUI(UINT id) : m_nID(id) {}
    void Enable(bool on = true) { enabled = on; }
    void SetCheck(bool on = true) { checked = on; }

    UINT m_nID;
    bool enabled = true;
    bool checked = false;
};
