#include "tests/e2e/ProbeWindows.h"

#include <cstring>

namespace {

// The name scripts/in-desktop.sh gives the virtual desktop.
constexpr char kTestDesktop[] = "brantle";
constexpr DWORD kPollMs = 50;

struct Search {
    const std::string* title;
    const char* className;  // nullptr: any class
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    char cls[64] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    // A tray icon's tooltip window takes the icon's tip, often the program's
    // title, as its own title once it has shown: never the one meant.
    if (lstrcmpiA(cls, "tooltips_class32") == 0) return TRUE;
    if (search->className && std::strcmp(cls, search->className) != 0) return TRUE;
    if (WindowText(wnd) != *search->title) return TRUE;
    search->found = wnd;
    return FALSE;
}

HWND FindTopLevelOfClass(const std::string& title, const char* className) {
    JoinTestDesktop();
    Search search{&title, className, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

void JoinTestDesktop() {
    static bool joined = false;
    if (joined) return;
    HDESK desktop = OpenDesktopA(kTestDesktop, 0, FALSE, GENERIC_ALL);
    if (desktop) joined = SetThreadDesktop(desktop) != FALSE;
}

HWND FindTopLevel(const std::string& title) { return FindTopLevelOfClass(title, nullptr); }

HWND FindDialog(const std::string& caption) { return FindTopLevelOfClass(caption, "#32770"); }

HWND FindChildOfClass(HWND parent, const char* className) {
    return FindWindowExA(parent, nullptr, className, nullptr);
}

HWND FindDescendantOfClass(HWND ancestor, const char* className) {
    struct Wanted {
        const char* className;
        HWND found;
    } wanted{className, nullptr};
    EnumChildWindows(
        ancestor,
        [](HWND child, LPARAM param) {
            auto& w = *reinterpret_cast<Wanted*>(param);
            char cls[64] = {};
            GetClassNameA(child, cls, sizeof cls);
            if (lstrcmpiA(cls, w.className) == 0) w.found = child;
            return w.found ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&wanted));
    return wanted.found;
}

std::string WindowText(HWND wnd) {
    // GetWindowTextA sends WM_GETTEXT to other processes, which the system
    // copies across; a hung window gives up after the limit.
    char text[512] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(wnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 1000, &length))
        return {};
    return std::string(text, length);
}

std::string VisibleTitles() {
    JoinTestDesktop();
    std::string titles;
    EnumWindows(
        [](HWND wnd, LPARAM out) {
            const std::string title = WindowText(wnd);
            if (IsWindowVisible(wnd) && !title.empty())
                *reinterpret_cast<std::string*>(out) += "'" + title + "' ";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&titles));
    return titles.empty() ? "none" : titles;
}

bool WaitFor(DWORD timeoutMs, const std::function<bool(std::string& seen)>& check,
             std::string& seen) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (check(seen)) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(kPollMs);
    }
}
