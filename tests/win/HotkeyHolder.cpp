// Another program that takes a hotkey before the recorder does: registers
// MODIFIERS+KEY (numbers, as RegisterHotKey takes them), then sets the named
// event EVENT and holds the hotkey until it is ended. Exits with 1 when the
// hotkey is taken already.
// Usage: hotkey_holder.exe MODIFIERS KEY EVENT
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    const UINT modifiers = static_cast<UINT>(std::strtoul(argv[1], nullptr, 0));
    const UINT key = static_cast<UINT>(std::strtoul(argv[2], nullptr, 0));
    if (!RegisterHotKey(nullptr, 1, modifiers, key)) return 1;
    HANDLE held = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
    if (!held) return 2;
    SetEvent(held);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
