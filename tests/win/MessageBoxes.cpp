#include "tests/win/MessageBoxes.h"

#include <cstring>

#include "tests/win/OwnWindows.h"
#include "tests/win/Waiting.h"

namespace {

std::string ReadMessageBox(HWND box) {
    char caption[128] = {};
    GetWindowTextA(box, caption, sizeof caption);
    std::string seen = std::string(caption) + "|";
    EnumChildWindows(
        box,
        [](HWND child, LPARAM out) {
            char cls[16] = {}, text[256] = {};
            GetClassNameA(child, cls, sizeof cls);
            GetWindowTextA(child, text, sizeof text);
            if (_stricmp(cls, "Static") == 0) *reinterpret_cast<std::string*>(out) += text;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen));
    return seen;
}

}  // namespace

std::string AnswerMessageBox(int button, DWORD timeoutMs) {
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = ShownWindowOfClass("#32770")) != nullptr; }, timeoutMs))
        return {};
    const std::string seen = ReadMessageBox(box);
    PostMessageA(box, WM_COMMAND, button, 0);
    return seen;
}
