// numbered_window: screen content whose every state is known. A topmost
// popup "Numbered Picture" of 256 x 192 at (8, 8), clear of the recorder's
// centred main window, shows NumberedPicture frame 0. A WM_COMMAND starts
// it counting: one frame more every 200 ms up to frame 30, where it stays
// and retitles itself "Numbered Picture still". It ends when it is closed.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "tests/e2e/NumberedPicture.h"

namespace {

constexpr char kTitle[] = "Numbered Picture";
constexpr char kStillTitle[] = "Numbered Picture still";
constexpr int kLeft = 8, kTop = 8, kWidth = 256, kHeight = 192;
constexpr UINT_PTR kTimer = 1;
constexpr UINT kStepMs = 200;
constexpr uint32_t kLast = 30;

uint32_t g_number = 0;

void Paint(HWND wnd) {
    static const NumberedPicture picture(kWidth, kHeight);
    std::vector<uint8_t> dib(((kWidth * 3 + 3) & ~3) * kHeight);
    picture.RenderDib(g_number, dib.data());
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, kHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    SetDIBitsToDevice(dc, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, dib.data(), &info,
                      DIB_RGB_COLORS);
    EndPaint(wnd, &ps);
}

void Step(HWND wnd) {
    ++g_number;
    // Under Wine a window activated later covers even a topmost one.
    SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    InvalidateRect(wnd, nullptr, FALSE);
    UpdateWindow(wnd);
    if (g_number < kLast) return;
    KillTimer(wnd, kTimer);
    SetWindowTextA(wnd, kStillTitle);
}

LRESULT CALLBACK WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (g_number == 0) SetTimer(wnd, kTimer, kStepMs, nullptr);
            return 0;
        case WM_TIMER:
            Step(wnd);
            return 0;
        case WM_PAINT:
            Paint(wnd);
            return 0;
        case WM_DESTROY:
            KillTimer(wnd, kTimer);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(wnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = WindowProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
    cls.lpszClassName = "NumberedPicture";
    if (!RegisterClassA(&cls)) return 1;
    // A tool window: no taskbar button whose title would change on the screen.
    HWND wnd =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, cls.lpszClassName, kTitle, WS_POPUP,
                        kLeft, kTop, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    if (!wnd) return 1;
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
