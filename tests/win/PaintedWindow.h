// Waiting until a window of another thread shows its final picture, so that
// a picture taken of the screen then is worth looking at.
#pragma once

#include <windows.h>

// True once the window is active and neither it nor its controls have
// anything left to paint; false after the limit.
bool WaitUntilPainted(HWND window, DWORD timeoutMs = 5000);
