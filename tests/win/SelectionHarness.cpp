#include "tests/win/SelectionHarness.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "region/RegionMessage.h"
#include "tests/win/Waiting.h"

namespace {

bool IsGrey(COLORREF c) { return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c); }

void SendMouse(DWORD flags, int x, int y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = x;
    in.mi.dy = y;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

bool InFrameBand(const PixelRect& f, int x, int y) {
    // The routine takes the rectangle as left, top, right, bottom with the
    // right and bottom edges outside.
    const bool outer = x >= f.left && x < f.right && y >= f.top && y < f.bottom;
    const bool inner = x >= f.left + 4 && x < f.right - 4 && y >= f.top + 4 && y < f.bottom - 4;
    return outer && !inner;
}

bool InRect(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

::testing::AssertionResult LabelLooksDrawn(const ScreenShot& shot, const RECT& label) {
    if (label.right - label.left < 20 || label.bottom - label.top < 10)
        return ::testing::AssertionFailure() << "no label";
    // Only what lies on the screen can be seen.
    RECT inside;
    IntersectRect(&inside, &label, &shot.Area());
    int dark = 0;
    for (int y = inside.top + 2; y < inside.bottom - 2; ++y)
        for (int x = inside.left + 3; x < inside.right - 3; ++x) {
            const COLORREF c = shot.At(x, y);
            if (!IsGrey(c))
                return ::testing::AssertionFailure()
                       << "label pixel (" << x << ", " << y << ") is " << std::hex << c;
            dark += GetRValue(c) < 100;
        }
    const int midX = (inside.left + inside.right) / 2;
    if (shot.At(midX, inside.top) != RGB(0, 0, 0) ||
        shot.At(midX, inside.bottom - 1) != RGB(0, 0, 0))
        return ::testing::AssertionFailure() << "the label has no outline";
    if (shot.At(inside.right - 3, (inside.top + inside.bottom) / 2) != RGB(255, 255, 255))
        return ::testing::AssertionFailure() << "the label is not white";
    if (dark < 40) return ::testing::AssertionFailure() << "the label has no text";
    return ::testing::AssertionSuccess();
}

// Every pixel outside the label as before, except the inverted squares of the frame's band.
::testing::AssertionResult OnlyFrameAndLabelChanged(const ScreenShot& before, const ScreenShot& now,
                                                    const PixelRect& frame, const RECT& label) {
    const RECT& a = before.Area();
    // Which squares of the checkerboard are inverted, as the band's first visible pixel says.
    int inverted = -1;
    for (int y = a.top; y < a.bottom && inverted < 0; ++y)
        for (int x = a.left; x < a.right && inverted < 0; ++x)
            if (InFrameBand(frame, x, y) && !InRect(label, x, y))
                inverted = (now.At(x, y) != before.At(x, y)) ? (x + y) & 1 : 1 - ((x + y) & 1);
    for (int y = a.top; y < a.bottom; ++y)
        for (int x = a.left; x < a.right; ++x) {
            if (InRect(label, x, y)) continue;
            COLORREF expected = before.At(x, y);
            if (InFrameBand(frame, x, y) && ((x + y) & 1) == inverted) expected ^= 0xFFFFFF;
            if (now.At(x, y) != expected)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << now.At(x, y)
                       << ", expected " << expected;
        }
    return ::testing::AssertionSuccess();
}

}  // namespace

COLORREF PatternColour(int x, int y, int shift) {
    x += shift;
    return RGB((x * 3) & 0x7F, (y * 5) & 0x7F, 0x80 + ((x ^ y) & 0x3F));
}

PatternBackdrop::PatternBackdrop() {
    const RECT s = FullScreen();
    CreateEx(0, AfxRegisterWndClass(0), "Backdrop", WS_POPUP | WS_VISIBLE, 0, 0, s.right, s.bottom,
             nullptr, nullptr);
    UpdateWindow(m_hWnd);
}

void PatternBackdrop::Shift(int shift) {
    m_shift = shift;
    InvalidateRect(m_hWnd, nullptr, FALSE);
    UpdateWindow(m_hWnd);
}

LRESULT PatternBackdrop::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return CWnd::WindowProc(message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    const RECT& r = ps.rcPaint;
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<uint32_t> rows(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF c = PatternColour(r.left + x, r.top + y, m_shift);
            rows[static_cast<size_t>(y) * w + x] =
                (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(dc, r.left, r.top, w, h, 0, 0, 0, h, rows.data(), &info, DIB_RGB_COLORS);
    EndPaint(m_hWnd, &ps);
    return 0;
}

::testing::AssertionResult PatternBackdrop::WaitUntilShown() {
    Shift(0);
    if (WaitUntil([] {
            return ScreenShot({5, 5, 6, 6}).At(5, 5) == PatternColour(5, 5, 0) &&
                   ScreenShot({1000, 700, 1001, 701}).At(1000, 700) == PatternColour(1000, 700, 0);
        }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the backdrop never showed";
}

PatternBackdrop& SharedBackdrop() {
    static PatternBackdrop backdrop;
    return backdrop;
}

RegionOwner::RegionOwner() {
    CreateEx(0, AfxRegisterWndClass(0), "Region owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
}

LRESULT RegionOwner::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER_REGIONCANCELLED) ++cancellations;
    if (message != WM_USER_REGIONSELECTED) return CWnd::WindowProc(message, wParam, lParam);
    region = UnpackRegion(wParam, static_cast<uint64_t>(lParam));
    rawWParam = wParam;
    rawLParam = lParam;
    return 0;
}

void MoveMouse(int x, int y) {
    const RECT s = FullScreen();
    // The absolute scale maps 0..65535 onto the screen; round up so that the
    // platform's truncation lands on the pixel asked for.
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (x * 65536 + s.right - 1) / s.right,
              (y * 65536 + s.bottom - 1) / s.bottom);
}

void PressLeft() { SendMouse(MOUSEEVENTF_LEFTDOWN, 0, 0); }
void ReleaseLeft() { SendMouse(MOUSEEVENTF_LEFTUP, 0, 0); }

void ClickRight() {
    SendMouse(MOUSEEVENTF_RIGHTDOWN, 0, 0);
    SendMouse(MOUSEEVENTF_RIGHTUP, 0, 0);
}

void PressKey(WORD virtualKey) {
    INPUT in[2] = {};
    for (INPUT& key : in) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = virtualKey;
    }
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

::testing::AssertionResult PutCursorAt(int x, int y) {
    MoveMouse(x, y);
    POINT p{};
    if (WaitUntil([&] { return GetCursorPos(&p) && p.x == x && p.y == y; }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the cursor is at (" << p.x << ", " << p.y << "), not (" << x << ", " << y << ")";
}

RECT FullScreen() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

::testing::AssertionResult ScreenShowsSelection(const ScreenShot& before, const PixelRect& frame,
                                                const RECT& label) {
    const ScreenShot now(before.Area());
    const ::testing::AssertionResult rest = OnlyFrameAndLabelChanged(before, now, frame, label);
    return rest ? LabelLooksDrawn(now, label) : rest;
}

::testing::AssertionResult WaitForSelection(const ScreenShot& before, const PixelRect& frame,
                                            const RECT& label) {
    ::testing::AssertionResult shown = ::testing::AssertionFailure();
    WaitUntil([&] { return bool(shown = ScreenShowsSelection(before, frame, label)); });
    return shown;
}

::testing::AssertionResult WaitForScreen(const ScreenShot& before) {
    ::testing::AssertionResult same = ::testing::AssertionFailure();
    WaitUntil([&] {
        return bool(same = OnlyFrameAndLabelChanged(before, ScreenShot(before.Area()), {0, 0, 0, 0},
                                                    {0, 0, 0, 0}));
    });
    return same;
}

void SaveScreenForReview(const char* name) {
    const char* folder = std::getenv("BRANTLE_SHOT_DIR");
    if (!folder) return;
    const RECT s = FullScreen();
    const ScreenShot shot(s);
    std::vector<uint32_t> rows;
    for (int y = s.bottom - 1; y >= 0; --y)  // bottom-up
        for (int x = 0; x < s.right; ++x) {
            const COLORREF c = shot.At(x, y);
            rows.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
        }
    BITMAPINFOHEADER info = {sizeof info, s.right, s.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD bytes = DWORD(rows.size() * 4);
    BITMAPFILEHEADER file = {0x4D42, DWORD(sizeof file + sizeof info + bytes), 0, 0,
                             DWORD(sizeof file + sizeof info)};
    const std::string path = std::string(folder) + "/" + name + ".bmp";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, f);
        std::fwrite(&info, sizeof info, 1, f);
        std::fwrite(rows.data(), 4, rows.size(), f);
        std::fclose(f);
    }
}
