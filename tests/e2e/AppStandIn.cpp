// app_stand_in: a small program shaped like the recorder's main window, for
// proving app_probe and tray.sh before the recorder exists. A hidden window
// "App Stand-In" with a menu, a toolbar and a three-pane status bar, whose
// commands follow the recording state; a tray icon (uID
// 164, callback WM_USER+1, tip "App Stand-In") that shows icon 164 while
// idle and 163 while recording; global hotkeys Ctrl+B start or resume,
// Ctrl+P pause, Ctrl+E stop. A button press on the tray icon shows the window
// and brings it forward; minimising hides it again. It prints what it
// receives ("hotkey N", "tray 0xMSG") on standard output for the tests.
#include "tests/e2e/AppStandIn.h"

#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

namespace {

constexpr char kTitle[] = "App Stand-In";
constexpr UINT kTrayId = 164;
constexpr UINT kTrayMessage = WM_USER + 1;
constexpr int kToolBarId = 59392;
constexpr int kStatusBarId = 59393;
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kClockMs = 100;

enum class State { Idle, Recording, Paused, Stopped };

struct StandIn {
    HWND frame = nullptr;
    HWND toolBar = nullptr;
    HWND statusBar = nullptr;
    State state = State::Idle;
    int frames = 0;  // clock ticks while recording
} app;

void Log(const char* format, unsigned value) {
    std::printf(format, value);
    std::printf("\n");
    std::fflush(stdout);
}

void SetTrayIcon(DWORD action) {
    const bool recording = app.state == State::Recording || app.state == State::Paused;
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = app.frame;
    data.uID = kTrayId;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon =
        LoadIconA(GetModuleHandleA(nullptr),
                  MAKEINTRESOURCEA(recording ? IDI_STAND_IN_RECORDING : IDI_STAND_IN_IDLE));
    lstrcpynA(data.szTip, kTitle, sizeof data.szTip);
    Shell_NotifyIconA(action, &data);
}

void SetPane(int pane, const char* text) {
    SendMessageA(app.statusBar, SB_SETTEXTA, pane, reinterpret_cast<LPARAM>(text));
}

void ShowClock() {
    char text[64];
    wsprintfA(text, "%d sec  %d  frames", app.frames * static_cast<int>(kClockMs) / 1000,
              app.frames);
    SetPane(2, text);
}

void SetCommand(UINT id, bool enabled, bool checked) {
    HMENU menu = GetMenu(app.frame);
    EnableMenuItem(menu, id, enabled ? MF_ENABLED : MF_GRAYED);
    CheckMenuItem(menu, id, checked ? MF_CHECKED : MF_UNCHECKED);
    SendMessageA(app.toolBar, TB_ENABLEBUTTON, id, enabled);
    SendMessageA(app.toolBar, TB_CHECKBUTTON, id, checked);
}

// Commands, status bar and tray icon follow the recording state.
void Enter(State state) {
    app.state = state;
    const bool running = state == State::Recording || state == State::Paused;
    SetCommand(ID_STAND_IN_START, state != State::Recording, false);
    SetCommand(ID_STAND_IN_PAUSE, state == State::Recording, state == State::Paused);
    SetCommand(ID_STAND_IN_STOP, running, false);
    const char* names[] = {"Idle", "Recording", "Paused", "Recording stopped"};
    SetPane(1, names[static_cast<int>(state)]);
    if (state == State::Recording)
        SetTimer(app.frame, kClockTimer, kClockMs, nullptr);
    else
        KillTimer(app.frame, kClockTimer);
    SetTrayIcon(NIM_MODIFY);
}

INT_PTR CALLBACK NameDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDOK) {
        char name[128] = "Name: ";
        GetDlgItemTextA(dialog, IDC_STAND_IN_NAME, name + 6, sizeof name - 6);
        SetPane(0, name);
    }
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
    return TRUE;
}

void OnCommand(int id) {
    switch (id) {
        case ID_STAND_IN_START:
            if (app.state != State::Paused) app.frames = 0;
            if (app.state != State::Recording) Enter(State::Recording);
            break;
        case ID_STAND_IN_PAUSE:
            if (app.state == State::Recording) Enter(State::Paused);
            break;
        case ID_STAND_IN_STOP:
            if (app.state == State::Recording || app.state == State::Paused) Enter(State::Stopped);
            break;
        case ID_STAND_IN_NAME:
            DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_STAND_IN_NAME),
                            app.frame, NameDialog, 0);
            break;
        case ID_STAND_IN_ABOUT:
            MessageBoxA(app.frame, "App Stand-In 1.0", "About App Stand-In", MB_OK);
            break;
    }
}

HWND CreateToolBar(HWND frame) {
    TBBUTTON buttons[] = {
        {STD_FILENEW, ID_STAND_IN_START, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {STD_PASTE, ID_STAND_IN_PAUSE, TBSTATE_ENABLED, BTNS_CHECK, {}, 0, 0},
        {STD_DELETE, ID_STAND_IN_STOP, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    };
    return CreateToolbarEx(frame, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS, kToolBarId, 0,
                           HINST_COMMCTRL, IDB_STD_SMALL_COLOR, buttons, 3, 16, 16, 16, 16,
                           sizeof(TBBUTTON));
}

void OnCreate(HWND frame) {
    app.frame = frame;
    app.toolBar = CreateToolBar(frame);
    app.statusBar =
        CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame,
                        reinterpret_cast<HMENU>(kStatusBarId), GetModuleHandleA(nullptr), nullptr);
    const int edges[] = {200, 320, -1};
    SendMessageA(app.statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    SetPane(0, "Ready");
    ShowClock();
    SetTrayIcon(NIM_ADD);
    Enter(State::Idle);
    RegisterHotKey(frame, ID_STAND_IN_START, MOD_CONTROL, 'B');
    RegisterHotKey(frame, ID_STAND_IN_PAUSE, MOD_CONTROL, 'P');
    RegisterHotKey(frame, ID_STAND_IN_STOP, MOD_CONTROL, 'E');
}

void OnTray(UINT mouseMessage) {
    if (mouseMessage == WM_MOUSEMOVE) return;
    Log("tray 0x%04x", mouseMessage);
    if (mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_RBUTTONDOWN) {
        ShowWindow(app.frame, SW_SHOWNORMAL);
        SetForegroundWindow(app.frame);
    }
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate(frame);
            return 0;
        case WM_SIZE:
            SendMessageA(app.toolBar, TB_AUTOSIZE, 0, 0);
            SendMessageA(app.statusBar, WM_SIZE, 0, 0);
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_HOTKEY:
            Log("hotkey %u", static_cast<unsigned>(wParam));
            OnCommand(static_cast<int>(wParam));
            return 0;
        case WM_TIMER:
            ++app.frames;
            ShowClock();
            return 0;
        case kTrayMessage:
            OnTray(LOWORD(lParam));
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MINIMIZE) {
                ShowWindow(frame, SW_HIDE);
                return 0;
            }
            break;
        case WM_DESTROY:
            SetTrayIcon(NIM_DELETE);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(frame, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    _setmode(_fileno(stdout), _O_BINARY);  // lines end in "\n" alone, for grep -x
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA frameClass{};
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = instance;
    frameClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_STAND_IN_IDLE));
    frameClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    frameClass.lpszClassName = "BrantleAppStandIn";
    RegisterClassA(&frameClass);

    const int width = 480, height = 360;
    CreateWindowExA(0, frameClass.lpszClassName, kTitle,
                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                    (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                    (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr,
                    LoadMenuA(instance, MAKEINTRESOURCEA(IDR_STAND_IN_MENU)), instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
