#include "hook/MouseHook.h"

namespace {

// Touched only by the thread that installed the hook: low-level hooks run
// in that thread, between its messages.
HHOOK g_hook = nullptr;
HWND g_window = nullptr;
UINT g_saveCursorMsg = 0;
HCURSOR g_lastReported = nullptr;

HCURSOR CurrentCursor() {
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    return GetCursorInfo(&info) ? info.hCursor : nullptr;
}

void Report(UINT mouseMessage) {
    const HCURSOR cursor = CurrentCursor();
    if (mouseMessage == WM_MOUSEMOVE && cursor == g_lastReported) return;
    g_lastReported = cursor;
    PostMessageA(g_window, g_saveCursorMsg, reinterpret_cast<WPARAM>(cursor), mouseMessage);
}

LRESULT CALLBACK OnLowLevelMouse(int code, WPARAM wParam, LPARAM lParam) {
    // The window check also covers a call already queued when the hook went.
    if (code == HC_ACTION && g_window) Report(static_cast<UINT>(wParam));
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&OnLowLevelMouse), &module);
    return module;
}

}  // namespace

BOOL __cdecl InstallMyHook(HWND window, int /*reserved*/) {
    if (!IsWindow(window)) return FALSE;
    if (!g_saveCursorMsg) g_saveCursorMsg = RegisterWindowMessageA("WM_USER_SAVECURSOR_MSG");
    g_window = window;
    g_lastReported = nullptr;
    if (!g_hook) g_hook = SetWindowsHookExA(WH_MOUSE_LL, OnLowLevelMouse, ThisModule(), 0);
    if (!g_hook) {
        g_window = nullptr;
        return FALSE;
    }
    // The window learns the cursor at once, not only when the mouse first moves.
    Report(WM_MOUSEMOVE);
    return TRUE;
}

BOOL __cdecl UninstallMyHook(HWND /*window*/) {
    g_window = nullptr;
    if (!g_hook) return TRUE;
    const BOOL removed = UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    return removed;
}
