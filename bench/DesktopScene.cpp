// desktop_scene: moving content made of Windows windows, for recordings in a
// Wine virtual desktop (where X programs do not show): a large window that
// follows a log, a line scrolling in every 30 ms, and a small window with a
// running clock that moves back and forth across the screen, 8 x 3 pixels
// every 100 ms. It runs until it is ended.
#include <windows.h>

#include <cstdio>
#include <deque>
#include <string>

namespace {

constexpr UINT_PTR kLogTimer = 1, kMoveTimer = 2;
constexpr int kLineHeight = 16;
std::deque<std::string> g_lines;
int g_lineNumber = 0, g_step = 0;
HWND g_log = nullptr, g_mover = nullptr;

std::string NextLine() {
    char line[160];
    std::snprintf(line, sizeof line,
                  "%06d -rw-r--r-- 1 root root %8d Dec  9 16:%02d lib%05d.so.%d  request served "
                  "in %d ms",
                  g_lineNumber, (g_lineNumber * 7919) % 9999991, g_lineNumber % 60,
                  (g_lineNumber * 31) % 100000, g_lineNumber % 7, g_lineNumber % 250);
    ++g_lineNumber;
    return line;
}

void PaintLines(HWND wnd, HDC dc) {
    RECT client;
    GetClientRect(wnd, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
    int y = 0;
    for (const std::string& line : g_lines) {
        TextOutA(dc, 4, y, line.c_str(), static_cast<int>(line.size()));
        y += kLineHeight;
    }
}

void PaintClock(HWND wnd, HDC dc) {
    RECT client;
    GetClientRect(wnd, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[64];
    const int n = std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", now.wHour, now.wMinute,
                                now.wSecond, now.wMilliseconds);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 20, 40, text, n);
}

void AddLine() {
    RECT client;
    GetClientRect(g_log, &client);
    g_lines.push_back(NextLine());
    while (static_cast<int>(g_lines.size()) * kLineHeight > client.bottom) g_lines.pop_front();
    InvalidateRect(g_log, nullptr, FALSE);
}

void MoveOn() {
    const int step = g_step % 240 < 120 ? g_step % 240 : 240 - g_step % 240;
    ++g_step;
    SetWindowPos(g_mover, HWND_TOP, 300 + step * 8, 300 + step * 3, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
    InvalidateRect(g_mover, nullptr, FALSE);
}

LRESULT CALLBACK WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kLogTimer) AddLine();
            if (wParam == kMoveTimer) MoveOn();
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(wnd, &ps);
            if (wnd == g_log) PaintLines(wnd, dc);
            else PaintClock(wnd, dc);
            EndPaint(wnd, &ps);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(wnd, message, wParam, lParam);
}

HWND MakeWindow(HINSTANCE instance, const char* title, int x, int y, int width, int height) {
    HWND wnd = CreateWindowExA(0, "DesktopScene", title, WS_OVERLAPPEDWINDOW, x, y, width, height,
                               nullptr, nullptr, instance, nullptr);
    if (wnd) ShowWindow(wnd, SW_SHOWNOACTIVATE);
    return wnd;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = WindowProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
    cls.lpszClassName = "DesktopScene";
    if (!RegisterClassA(&cls)) return 1;
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    g_log = MakeWindow(instance, "Log", 10, 10, width * 3 / 5, height * 3 / 4);
    g_mover = MakeWindow(instance, "Clock", 300, 300, 320, 140);
    if (!g_log || !g_mover) return 1;
    SetTimer(g_log, kLogTimer, 30, nullptr);
    SetTimer(g_mover, kMoveTimer, 100, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
