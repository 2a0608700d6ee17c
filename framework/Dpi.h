// The density a window is shown at: its monitor's, where Windows 10 1607 or
// later tells it, else the system's (Windows 7 and 8, and Wine).
#pragma once

#include <windows.h>

#include "framework/DpiScale.h"

int SystemDpi();
int WindowDpi(HWND window);
