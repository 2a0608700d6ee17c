// app_probe: looks at and drives the windows of the program under test from
// outside, for the end-to-end scripts. It runs under Wine beside the program,
// joins the tests' virtual desktop and speaks to the windows with messages.
//
// Usage: app_probe COMMAND ARGS...   (run without arguments for the list)
// Exit code: 0 the condition holds, 1 it does not or the time ran out (stderr
// says what was seen last), 2 wrong usage.
#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <functional>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/MenuState.h"
#include "tests/e2e/ProbeWindows.h"
#include "tests/e2e/RemoteBuffer.h"
#include "tests/e2e/TrayIcons.h"

namespace {

using Args = std::vector<std::string>;  // the command's own arguments

constexpr UINT kMessageLimitMs = 1000;  // for a message to a window that may hang
constexpr DWORD kAnswerLimitMs = 5000;  // for the program's thread to answer a question
// Mean channel difference below which the screen shows an icon. The tray
// draws with the same GDI calls as we do, so the shown icon measures 0.0;
// the recorder's two tray icons differ from each other by 8.7.
constexpr double kIconMatch = 3.0;

class UsageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

int Number(const std::string& text) {
    size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used, 0);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size()) throw UsageError("not a number: '" + text + "'");
    return value;
}

DWORD Milliseconds(const std::string& text) {
    const int ms = Number(text);
    if (ms < 0) throw UsageError("negative time: " + text);
    return static_cast<DWORD>(ms);
}

bool YesNo(const std::string& text) {
    if (text == "yes" || text == "no") return text == "yes";
    throw UsageError("expected yes or no, not '" + text + "'");
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "app_probe: %s\n", message.c_str());
    return 1;
}

int Met() { return 0; }

HWND Existing(const std::string& title) {
    HWND wnd = FindTopLevel(title);
    if (!wnd)
        throw std::runtime_error("no window titled '" + title + "'; visible: " + VisibleTitles());
    return wnd;
}

HWND ExistingDialog(const std::string& caption) {
    HWND dialog = FindDialog(caption);
    if (!dialog)
        throw std::runtime_error("no dialog titled '" + caption + "'; visible: " + VisibleTitles());
    return dialog;
}

HWND DialogItem(const std::string& caption, const std::string& id) {
    HWND item = GetDlgItem(ExistingDialog(caption), Number(id));
    if (!item) throw std::runtime_error("dialog '" + caption + "' has no control " + id);
    return item;
}

// The text of a status bar pane, read through a buffer in the bar's process.
bool StatusText(HWND frame, int pane, std::string& text) {
    HWND bar = FindChildOfClass(frame, STATUSCLASSNAMEA);
    if (!bar) {
        text = "(no status bar)";
        return false;
    }
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(bar, SB_GETTEXTLENGTHA, pane, 0, SMTO_ABORTIFHUNG, kMessageLimitMs,
                             &length)) {
        text = "(status bar does not answer)";
        return false;
    }
    std::vector<char> buffer(LOWORD(length) + 1, '\0');
    RemoteBuffer remote(bar, buffer.size());
    DWORD_PTR ignored = 0;
    if (!remote.Write(buffer.data(), buffer.size()) ||
        !SendMessageTimeoutA(bar, SB_GETTEXTA, pane, remote.Address(), SMTO_ABORTIFHUNG,
                             kMessageLimitMs, &ignored) ||
        !remote.Read(buffer.data(), buffer.size() - 1)) {
        text = "(status bar text unreadable)";
        return false;
    }
    text = buffer.data();
    return true;
}

// Waits until pane PANE of window TITLE's status bar passes the test.
int WaitStatusText(const Args& a, const std::function<bool(const std::string&)>& test) {
    const int pane = Number(a[1]);
    std::string seen;
    const bool met = WaitFor(
        Milliseconds(a[3]),
        [&](std::string& s) {
            HWND frame = FindTopLevel(a[0]);
            if (!frame) {
                s = "(no window)";
                return false;
            }
            return StatusText(frame, pane, s) && test(s);
        },
        seen);
    return met ? Met() : Fail("pane " + a[1] + " of '" + a[0] + "' shows '" + seen + "'");
}

// Loads a program's resources without running it.
class ResourceModule {
public:
    explicit ResourceModule(const std::string& path)
        : m_module(LoadLibraryExA(path.c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
        if (!m_module) throw std::runtime_error("cannot load resources of " + path);
    }
    ~ResourceModule() { FreeLibrary(m_module); }
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;
    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

// Which of the icons `ids` of `module` the tray shows for `tip`: the closest
// one if it is close enough, else 0. `seen` tells the distances.
int ShownIcon(const std::string& tip, HMODULE module, const std::vector<int>& ids,
              std::string& seen) {
    RECT place{};
    if (FindTrayIcon(tip, place, seen) != TrayLookup::Found) {
        seen = "no tray icon with that tip; tips: " + seen;
        return 0;
    }
    int best = 0;
    double bestDistance = kIconMatch;
    seen.clear();
    for (int id : ids) {
        const double distance = IconDistance(place, module, id);
        char line[64];
        std::snprintf(line, sizeof line, "icon %d: %.1f  ", id, distance);
        seen += line;
        if (distance < bestDistance) {
            best = id;
            bestDistance = distance;
        }
    }
    return best;
}

// --- the commands, one function each -------------------------------------

BOOL CALLBACK PrintWindow(HWND wnd, LPARAM depth) {
    char cls[64] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    RECT r{};
    GetWindowRect(wnd, &r);
    DWORD process = 0;
    GetWindowThreadProcessId(wnd, &process);
    std::printf("%*s%p %s '%s' id %ld (%ld %ld %ld %ld) %s pid %lu\n", static_cast<int>(depth) * 2,
                "", static_cast<void*>(wnd), cls, WindowText(wnd).c_str(),
                static_cast<long>(GetWindowLongPtrA(wnd, GWLP_ID)), r.left, r.top, r.right,
                r.bottom, IsWindowVisible(wnd) ? "visible" : "hidden", process);
    if (depth == 0) EnumChildWindows(wnd, PrintWindow, 1);
    return TRUE;
}

int Windows(const Args&) {
    JoinTestDesktop();
    EnumWindows(PrintWindow, 0);
    return Met();
}

int WaitWindow(const Args& a) {
    std::string seen;
    return WaitFor(
               Milliseconds(a[1]), [&](std::string&) { return FindTopLevel(a[0]); }, seen)
               ? Met()
               : Fail("no window titled '" + a[0] + "'; visible: " + VisibleTitles());
}

int WaitGone(const Args& a) {
    std::string seen;
    return WaitFor(
               Milliseconds(a[1]), [&](std::string&) { return !FindTopLevel(a[0]); }, seen)
               ? Met()
               : Fail("window '" + a[0] + "' is still there");
}

int WaitVisible(const Args& a) {
    const bool want = YesNo(a[1]);
    std::string seen;
    const bool met = WaitFor(
        Milliseconds(a[2]),
        [&](std::string& s) {
            HWND wnd = FindTopLevel(a[0]);
            s = !wnd ? "no such window" : IsWindowVisible(wnd) ? "visible" : "hidden";
            return wnd && (IsWindowVisible(wnd) != FALSE) == want;
        },
        seen);
    return met ? Met() : Fail("window '" + a[0] + "': " + seen);
}

int WaitForeground(const Args& a) {
    std::string seen;
    const bool met = WaitFor(
        Milliseconds(a[1]),
        [&](std::string& s) {
            JoinTestDesktop();
            HWND foreground = GetForegroundWindow();
            s = foreground ? "'" + WindowText(foreground) + "'" : "none";
            return foreground && foreground == FindTopLevel(a[0]);
        },
        seen);
    return met ? Met() : Fail("the foreground window is " + seen + ", not '" + a[0] + "'");
}

int Rect(const Args& a) {
    HWND wnd = Existing(a[0]);
    RECT window{}, client{};
    GetWindowRect(wnd, &window);
    GetClientRect(wnd, &client);
    std::printf("%ld %ld %ld %ld %ld %ld\n", window.left, window.top, window.right, window.bottom,
                client.right, client.bottom);
    return Met();
}

int Style(const Args& a) {
    std::printf("0x%08lX\n", static_cast<unsigned long>(GetWindowLongA(Existing(a[0]), GWL_STYLE)));
    return Met();
}

int Status(const Args& a) {
    std::string text;
    if (!StatusText(Existing(a[0]), Number(a[1]), text)) return Fail(text);
    std::printf("%s\n", text.c_str());
    return Met();
}

int WaitStatus(const Args& a) {
    return WaitStatusText(a, [&](const std::string& text) { return text == a[2]; });
}

int WaitStatusMatch(const Args& a) {
    std::regex pattern;
    try {
        pattern.assign(a[2]);
    } catch (const std::regex_error& e) {
        throw UsageError("bad pattern '" + a[2] + "': " + e.what());
    }
    return WaitStatusText(a,
                          [&](const std::string& text) { return std::regex_match(text, pattern); });
}

int WaitDialog(const Args& a) {
    std::string seen;
    const bool met = WaitFor(
        Milliseconds(a[1]),
        [&](std::string&) {
            HWND dialog = FindDialog(a[0]);
            return dialog && IsWindowVisible(dialog);
        },
        seen);
    return met ? Met() : Fail("no dialog titled '" + a[0] + "'; visible: " + VisibleTitles());
}

// The text a child control of another process holds (an edit control's is
// not its caption), with its line breaks as "\n".
bool ControlText(HWND control, std::string& text) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageLimitMs,
                             &length)) {
        text = "(the control does not answer)";
        return false;
    }
    std::vector<char> buffer(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXT, buffer.size(),
                             reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                             kMessageLimitMs, &copied)) {
        text = "(the control's text unreadable)";
        return false;
    }
    text.clear();
    for (size_t i = 0; i < copied; ++i)
        if (buffer[i] != '\r') text += buffer[i];
    return true;
}

// Waits until the first child of class CLASS of window TITLE holds TEXT,
// in which the two characters "\n" stand for a line break.
int WaitChildText(const Args& a) {
    const std::string wanted = std::regex_replace(a[2], std::regex(R"(\\n)"), "\n");
    std::string seen;
    const bool met = WaitFor(
        Milliseconds(a[3]),
        [&](std::string& s) {
            HWND wnd = FindTopLevel(a[0]);
            HWND child = wnd ? FindChildOfClass(wnd, a[1].c_str()) : nullptr;
            if (!child) {
                s = wnd ? "(no " + a[1] + " child)" : "(no window)";
                return false;
            }
            return ControlText(child, s) && s == wanted;
        },
        seen);
    return met ? Met() : Fail("the " + a[1] + " of '" + a[0] + "' holds '" + seen + "'");
}

int DialogText(const Args& a) {
    std::printf("%s\n", WindowText(DialogItem(a[0], a[1])).c_str());
    return Met();
}

// A hotkey control's value: the virtual key in the low byte, its modifier
// bits (HOTKEYF_*) in the high byte, as a number.
int Hotkey(const Args& a) {
    std::printf("%u\n", static_cast<unsigned>(SendMessageA(DialogItem(a[0], a[1]), HKM_GETHOTKEY, 0, 0)));
    return Met();
}

// A message box shows its text in a static control; the icon is another
// static control, without text.
int MessageText(const Args& a) {
    std::string text;
    for (HWND child = FindChildOfClass(ExistingDialog(a[0]), "Static"); child;
         child = FindWindowExA(GetParent(child), child, "Static", nullptr))
        text += WindowText(child);
    std::printf("%s\n", text.c_str());
    return Met();
}

int ClickButton(const Args& a) {
    return PostMessageA(DialogItem(a[0], a[1]), BM_CLICK, 0, 0) ? Met() : Fail("post failed");
}

// Selects the list box item that reads TEXT, as a click on it would.
int SelectItem(const Args& a) {
    const HWND list = DialogItem(a[0], a[1]);
    DWORD_PTR index = 0, selected = 0;
    if (!SendMessageTimeoutA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(a[2].c_str()), SMTO_ABORTIFHUNG,
                             kMessageLimitMs, &index) ||
        static_cast<LRESULT>(index) == LB_ERR)
        return Fail("no item '" + a[2] + "' in the list");
    SendMessageTimeoutA(list, LB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, kMessageLimitMs,
                        &selected);
    return static_cast<LRESULT>(selected) == static_cast<LRESULT>(index) ? Met()
                                                                         : Fail("not selected");
}

int SetText(const Args& a) {
    DWORD_PTR ok = 0;
    return SendMessageTimeoutA(DialogItem(a[0], a[1]), WM_SETTEXT, 0,
                               reinterpret_cast<LPARAM>(a[2].c_str()), SMTO_ABORTIFHUNG,
                               kMessageLimitMs, &ok) &&
                   ok
               ? Met()
               : Fail("the control did not take the text");
}

int Close(const Args& a) {
    return PostMessageA(Existing(a[0]), WM_CLOSE, 0, 0) ? Met() : Fail("post failed");
}

int SysCommand(const Args& a) {
    const std::pair<const char*, WPARAM> kinds[] = {{"minimize", SC_MINIMIZE},
                                                    {"maximize", SC_MAXIMIZE},
                                                    {"restore", SC_RESTORE},
                                                    {"close", SC_CLOSE}};
    for (const auto& kind : kinds)
        if (a[1] == kind.first)
            return PostMessageA(Existing(a[0]), WM_SYSCOMMAND, kind.second, 0)
                       ? Met()
                       : Fail("post failed");
    throw UsageError("unknown system command '" + a[1] + "'");
}

int Command(const Args& a) {
    return PostMessageA(Existing(a[0]), WM_COMMAND, MAKEWPARAM(Number(a[1]), 0), 0)
               ? Met()
               : Fail("post failed");
}

// Both posted at once, so the window handles the close right after the
// command, before anything the command set off can answer.
int CommandThenClose(const Args& a) {
    HWND window = Existing(a[0]);
    return PostMessageA(window, WM_COMMAND, MAKEWPARAM(Number(a[1]), 0), 0) &&
                   PostMessageA(window, WM_CLOSE, 0, 0)
               ? Met()
               : Fail("post failed");
}

int MenuState(const Args& a) {
    UINT state = 0;
    std::string problem;
    if (!AskMenuState(Existing(a[0]), Number(a[1]), kAnswerLimitMs, state, problem))
        return Fail(problem);
    if (state == static_cast<UINT>(-1)) return Fail("no menu item " + a[1]);
    std::printf("%s%s\n", state & (MF_GRAYED | MF_DISABLED) ? "disabled" : "enabled",
                state & MF_CHECKED ? " checked" : "");
    return Met();
}

// Toolbar buttons answer with their state itself, so no buffer is needed.
int ToolbarState(const Args& a) {
    HWND bar = FindDescendantOfClass(Existing(a[0]), TOOLBARCLASSNAMEA);
    if (!bar) return Fail("window '" + a[0] + "' has no toolbar");
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutA(bar, TB_GETSTATE, Number(a[1]), 0, SMTO_ABORTIFHUNG, kMessageLimitMs,
                             &state))
        return Fail("the toolbar does not answer");
    if (state == static_cast<DWORD_PTR>(-1)) return Fail("no toolbar button " + a[1]);
    std::printf("%s%s\n", state & TBSTATE_ENABLED ? "enabled" : "disabled",
                state & TBSTATE_CHECKED ? " checked" : "");
    return Met();
}

int TrayRect(const Args& a) {
    RECT place{};
    std::string seen;
    if (FindTrayIcon(a[0], place, seen) != TrayLookup::Found)
        return Fail("no tray icon '" + a[0] + "'; " + seen);
    std::printf("%ld %ld %ld %ld\n", place.left, place.top, place.right, place.bottom);
    return Met();
}

int WaitTray(const Args& a) {
    RECT place{};
    std::string seen;
    return WaitFor(
               Milliseconds(a[1]),
               [&](std::string& s) { return FindTrayIcon(a[0], place, s) == TrayLookup::Found; },
               seen)
               ? Met()
               : Fail("no tray icon '" + a[0] + "'; tips: " + seen);
}

int WaitTrayGone(const Args& a) {
    RECT place{};
    std::string seen;
    return WaitFor(
               Milliseconds(a[1]),
               [&](std::string& s) { return FindTrayIcon(a[0], place, s) == TrayLookup::Absent; },
               seen)
               ? Met()
               : Fail("tray icon '" + a[0] + "' is still there");
}

int TrayIcon(const Args& a) {
    const ResourceModule module(a[1]);
    std::vector<int> ids;
    for (size_t i = 2; i < a.size(); ++i) ids.push_back(Number(a[i]));
    std::string seen;
    const int shown = ShownIcon(a[0], module.Get(), ids, seen);
    std::fprintf(stderr, "%s\n", seen.c_str());
    if (!shown) return Fail("none of the icons is shown");
    std::printf("%d\n", shown);
    return Met();
}

int WaitTrayIcon(const Args& a) {
    const ResourceModule module(a[1]);
    const int wanted = Number(a[2]);
    std::vector<int> ids{wanted};
    for (size_t i = 4; i < a.size(); ++i) ids.push_back(Number(a[i]));
    std::string seen;
    const bool met = WaitFor(
        Milliseconds(a[3]),
        [&](std::string& s) { return ShownIcon(a[0], module.Get(), ids, s) == wanted; }, seen);
    return met ? Met() : Fail("tray icon '" + a[0] + "' is not icon " + a[2] + ": " + seen);
}

struct CommandEntry {
    const char* name;
    const char* arguments;
    size_t fewest;
    size_t most;
    int (*run)(const Args&);
};

constexpr size_t kMany = 64;

const CommandEntry kCommands[] = {
    {"windows", "", 0, 0, Windows},
    {"wait-window", "TITLE TIMEOUT_MS", 2, 2, WaitWindow},
    {"wait-gone", "TITLE TIMEOUT_MS", 2, 2, WaitGone},
    {"wait-visible", "TITLE yes|no TIMEOUT_MS", 3, 3, WaitVisible},
    {"wait-foreground", "TITLE TIMEOUT_MS", 2, 2, WaitForeground},
    {"rect", "TITLE   (prints: left top right bottom client-width client-height)", 1, 1, Rect},
    {"style", "TITLE   (prints GWL_STYLE in hex)", 1, 1, Style},
    {"status", "TITLE PANE", 2, 2, Status},
    {"wait-status", "TITLE PANE TEXT TIMEOUT_MS", 4, 4, WaitStatus},
    {"wait-status-match", "TITLE PANE REGEX TIMEOUT_MS", 4, 4, WaitStatusMatch},
    {"wait-dialog", "CAPTION TIMEOUT_MS", 2, 2, WaitDialog},
    {"dialog-text", "CAPTION CONTROL_ID", 2, 2, DialogText},
    {"wait-child-text", "TITLE CLASS TEXT TIMEOUT_MS   (\\n in TEXT: a line break)", 4, 4,
     WaitChildText},
    {"message-text", "CAPTION", 1, 1, MessageText},
    {"hotkey", "CAPTION CONTROL_ID   (prints the hotkey control's value)", 2, 2, Hotkey},
    {"click-button", "CAPTION CONTROL_ID", 2, 2, ClickButton},
    {"set-text", "CAPTION CONTROL_ID TEXT", 3, 3, SetText},
    {"select-item", "CAPTION CONTROL_ID TEXT   (a list box's item)", 3, 3, SelectItem},
    {"close", "TITLE", 1, 1, Close},
    {"syscommand", "TITLE minimize|maximize|restore|close", 2, 2, SysCommand},
    {"command", "TITLE COMMAND_ID   (posts WM_COMMAND)", 2, 2, Command},
    {"command-then-close", "TITLE COMMAND_ID   (posts WM_COMMAND, then WM_CLOSE)", 2, 2,
     CommandThenClose},
    {"menu-state", "TITLE COMMAND_ID   (prints enabled|disabled [checked])", 2, 2, MenuState},
    {"toolbar-state", "TITLE COMMAND_ID   (prints enabled|disabled [checked])", 2, 2, ToolbarState},
    {"tray-rect", "TIP   (prints the icon's left top right bottom)", 1, 1, TrayRect},
    {"wait-tray", "TIP TIMEOUT_MS", 2, 2, WaitTray},
    {"wait-tray-gone", "TIP TIMEOUT_MS", 2, 2, WaitTrayGone},
    {"tray-icon", "TIP MODULE ICON_ID...   (prints the one shown)", 3, kMany, TrayIcon},
    {"wait-tray-icon", "TIP MODULE ICON_ID TIMEOUT_MS [OTHER_ICON_ID...]", 4, kMany, WaitTrayIcon},
};

int Usage() {
    std::fprintf(stderr, "usage: app_probe COMMAND ARGS...\n");
    for (const auto& command : kCommands)
        std::fprintf(stderr, "  %s %s\n", command.name, command.arguments);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // Lines end in "\n" alone, as the shell reading them expects.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) return Usage();
    const std::string name = argv[1];
    const Args args(argv + 2, argv + argc);
    for (const auto& command : kCommands) {
        if (name != command.name) continue;
        if (args.size() < command.fewest || args.size() > command.most) return Usage();
        try {
            return command.run(args);
        } catch (const UsageError& e) {
            std::fprintf(stderr, "app_probe: %s\n", e.what());
            return 2;
        } catch (const std::exception& e) {
            return Fail(e.what());
        }
    }
    return Usage();
}
