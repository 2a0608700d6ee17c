// The state of a command in the menu of another process's window, as the
// window itself sees it when the popup holding the command opens.
#pragma once

#include <windows.h>

#include <string>

// GetMenuState's flags for the command, asked through menu_state_hook.dll
// (which must lie beside this program). False with `problem` set when there
// is no answer within the limit.
bool AskMenuState(HWND wnd, UINT command, DWORD timeoutMs, UINT& state, std::string& problem);
