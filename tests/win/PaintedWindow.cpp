#include "tests/win/PaintedWindow.h"

#include "tests/win/Waiting.h"

namespace {

bool NothingToPaint(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetUpdateRect(child, nullptr, FALSE)) return false;
    return true;
}

}  // namespace

bool WaitUntilPainted(HWND window, DWORD timeoutMs) {
    return WaitUntil([&] { return GetForegroundWindow() == window && NothingToPaint(window); },
                     timeoutMs);
}
