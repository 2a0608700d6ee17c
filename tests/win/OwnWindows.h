// Finding what this test process shows on the screen.
#pragma once

#include <windows.h>

// A visible top-level window of this process of that class, or none.
HWND ShownWindowOfClass(const char* className);
