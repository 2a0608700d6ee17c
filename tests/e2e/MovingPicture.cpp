// moving_picture: something that changes on the screen while a recording is
// made. A window "Moving Picture" near the bottom right corner of the
// screen (clear of the recorder's centred main window and of the windows
// other tests leave at the top left) whose client area is filled with a new
// colour every 50 ms, stepping through a cycle of 64 colours. It keeps itself
// above other windows without taking the focus. It ends when it is closed.
#include <windows.h>

namespace {

constexpr char kTitle[] = "Moving Picture";
constexpr UINT_PTR kTimer = 1;
constexpr UINT kStepMs = 50;
constexpr int kColours = 64;

int g_step = 0;

COLORREF ColourOf(int step) {
    // Each channel on a triangle wave of its own period, so that any two
    // neighbouring steps differ in every channel.
    const auto wave = [](int s, int period) {
        const int phase = s % period;
        return static_cast<BYTE>(phase < period / 2 ? phase * 510 / period
                                                    : (period - phase) * 510 / period);
    };
    return RGB(wave(step, 64), wave(step + 21, 32), wave(step + 42, 16));
}

LRESULT CALLBACK WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            g_step = (g_step + 1) % kColours;
            // Under Wine a window activated later covers even a topmost one.
            SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            InvalidateRect(wnd, nullptr, FALSE);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(wnd, &ps);
            HBRUSH brush = CreateSolidBrush(ColourOf(g_step));
            RECT client;
            GetClientRect(wnd, &client);
            FillRect(dc, &client, brush);
            DeleteObject(brush);
            EndPaint(wnd, &ps);
            return 0;
        }
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
    cls.lpszClassName = "MovingPicture";
    if (!RegisterClassA(&cls)) return 1;
    HWND wnd = CreateWindowExA(WS_EX_TOPMOST, cls.lpszClassName, kTitle,
                               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 760, 544, 240, 180, nullptr,
                               nullptr, instance, nullptr);
    if (!wnd) return 1;
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    SetTimer(wnd, kTimer, kStepMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
