#include "tests/win/Waiting.h"

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

bool WaitUntilKeeping(const std::function<bool()>& condition, const std::function<bool()>& kept,
                      DWORD timeoutMs) {
    bool broken = false;
    const bool ended = WaitUntil([&] { return (broken = !kept()) || condition(); }, timeoutMs);
    return ended && !broken;
}
