// hook.dll: tells one window about every mouse event on the desktop, so the
// recorder can draw the cursor and click marks into frames of any program.
// Between the two calls it posts the registered message
// "WM_USER_SAVECURSOR_MSG" with wParam = the cursor shown at that moment
// (HCURSOR) and lParam = the mouse message (WM_LBUTTONDOWN, WM_MOUSEMOVE...).
// Button and wheel events are always reported; moves only when the cursor
// changed, which is all the drawn cursor needs.
#pragma once

#include <windows.h>

extern "C" {

// Installs a low-level mouse hook owned by the calling thread, which must run
// a message loop. The second argument is unused (callers pass 0). Calling it
// again while installed only changes the window told.
BOOL __cdecl InstallMyHook(HWND window, int reserved);

// Removes the hook; nothing is posted afterwards. Harmless when not installed.
BOOL __cdecl UninstallMyHook(HWND window);
}
