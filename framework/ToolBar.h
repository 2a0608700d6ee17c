// A toolbar of large picture buttons, laid out from a toolbar resource (a
// version word, the button size, the count, then one command per button,
// 0 for a separator). Tooltips come from the frame (the text after the line
// break in the command's string).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/DpiScale.h"

class CToolBar {
public:
    CToolBar() = default;
    CToolBar(const CToolBar&) = delete;
    CToolBar& operator=(const CToolBar&) = delete;

    // Creates the toolbar control as a child of parent, with the control's
    // own style bits (TBSTYLE_*) and the window style.
    BOOL CreateEx(HWND parent, DWORD controlStyle, DWORD style, UINT id);
    // Adds the buttons of toolbar resource resourceId, their pictures'
    // size scaled from 96 dots per inch to dpi; the pictures come from
    // image lists set afterwards.
    BOOL LoadToolBar(UINT resourceId, int dpi = DefaultDpi);
    // Sizes the buttons of the loaded resource for another density.
    BOOL ScaleButtons(UINT resourceId, int dpi);
    void SetImageList(UINT message, HIMAGELIST list);

    HWND GetSafeHwnd() const { return m_hWnd; }

private:
    HWND m_hWnd = nullptr;
};
