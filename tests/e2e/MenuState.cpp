#include "tests/e2e/MenuState.h"

#include "tests/e2e/MenuStateHook.h"
#include "tests/win/TestPaths.h"

namespace {

std::string HookPath() { return BesideThisProgram("menu_state_hook.dll"); }

class HookModule {
public:
    HookModule() : m_module(LoadLibraryA(HookPath().c_str())) {}
    ~HookModule() {
        if (m_module) FreeLibrary(m_module);
    }
    HookModule(const HookModule&) = delete;
    HookModule& operator=(const HookModule&) = delete;
    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

class ScopedHook {
public:
    explicit ScopedHook(HHOOK hook) : m_hook(hook) {}
    ~ScopedHook() {
        if (m_hook) UnhookWindowsHookEx(m_hook);
    }
    ScopedHook(const ScopedHook&) = delete;
    ScopedHook& operator=(const ScopedHook&) = delete;
    bool Ok() const { return m_hook != nullptr; }

private:
    HHOOK m_hook;
};

}  // namespace

bool AskMenuState(HWND wnd, UINT command, DWORD timeoutMs, UINT& state, std::string& problem) {
    const HookModule module;
    // Through void*: a FARPROC is declared without the parameters it has.
    const auto proc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(module.Get(), MENU_STATE_HOOK_PROC)));
    if (!proc) {
        problem = "cannot load " + HookPath();
        return false;
    }
    const UINT question = RegisterWindowMessageA(MENU_STATE_MESSAGE);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // gives this thread a queue for the answer
    const ScopedHook hook(SetWindowsHookExA(WH_GETMESSAGE, proc, module.Get(),
                                            GetWindowThreadProcessId(wnd, nullptr)));
    if (!hook.Ok() || !PostMessageA(wnd, question, command, GetCurrentThreadId())) {
        problem = "cannot hook the window's thread";
        return false;
    }
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message == question && msg.wParam == command) {
                state = static_cast<UINT>(msg.lParam);
                return true;
            }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
    }
    problem = "the window's thread did not answer";
    return false;
}
