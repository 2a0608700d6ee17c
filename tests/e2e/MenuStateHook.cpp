// menu_state_hook.dll: a message hook that app_probe sets on the user-interface
// thread of the program under test, which makes the system load it there.
// Under Wine a menu lives in its owner's process (GetMenuState on another
// process's menu fails), and a framework sets a popup's item states only when
// the popup opens. So the probe posts a question to the window; this hook,
// seeing it leave the queue, lets the window update the popup that holds the
// command, as opening it would, and posts the command's state to the probe.
#include "tests/e2e/MenuStateHook.h"

#include <windows.h>

namespace {

// Finds the popup that holds a command, and the popup's position in its parent.
bool FindPopup(HMENU menu, UINT command, HMENU& popup, int& position) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (!sub) continue;
        for (int item = 0, items = GetMenuItemCount(sub); item < items; ++item)
            if (GetMenuItemID(sub, item) == command) {
                popup = sub;
                position = i;
                return true;
            }
        if (FindPopup(sub, command, popup, position)) return true;
    }
    return false;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    MenuStateHook(int code, WPARAM removal, LPARAM param) {
    static const UINT question = RegisterWindowMessageA(MENU_STATE_MESSAGE);
    MSG& msg = *reinterpret_cast<MSG*>(param);
    if (code == HC_ACTION && removal == PM_REMOVE && msg.message == question) {
        const UINT command = static_cast<UINT>(msg.wParam);
        HMENU menu = GetMenu(msg.hwnd);
        HMENU popup = nullptr;
        int position = 0;
        if (menu && FindPopup(menu, command, popup, position))
            SendMessageA(msg.hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                         MAKELPARAM(position, FALSE));
        const UINT state = menu ? GetMenuState(menu, command, MF_BYCOMMAND) : static_cast<UINT>(-1);
        PostThreadMessageA(static_cast<DWORD>(msg.lParam), question, command, state);
        msg.message = WM_NULL;  // answered here; the window need not see it
    }
    return CallNextHookEx(nullptr, code, removal, param);
}
