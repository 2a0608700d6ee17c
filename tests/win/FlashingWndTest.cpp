// The border window on the real screen: its brackets, their colours, that
// it never touches a pixel of the recorded rectangle, and that it never
// takes the keyboard or a click from the user's window.
#include <gtest/gtest.h>

#include <memory>

#include "engine/BorderGeometry.h"
#include "engine/FlashingWnd.h"
#include "framework/ScopedHandles.h"
#include "tests/support/BorderPixels.h"
#include "tests/win/ScreenProbe.h"
#include "tests/win/Waiting.h"

namespace {

// A colour per pixel that is never one of the border's colours (green < 128).
COLORREF BackdropColour(int x, int y) { return RGB(x & 0x7F, y & 0x7F, 0x40 + ((x + y) & 0x3F)); }

// A full-screen window below the border that paints the backdrop pattern, so
// that any pixel the border wrongly covers shows.
class Backdrop : public CWnd {
public:
    Backdrop() {
        const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        CreateEx(0, AfxRegisterWndClass(0), "Backdrop", WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr,
                 nullptr);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_PAINT) return CWnd::WindowProc(message, wParam, lParam);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hWnd, &ps);
        const int w = ps.rcPaint.right - ps.rcPaint.left;
        const int h = ps.rcPaint.bottom - ps.rcPaint.top;
        std::vector<uint32_t> rows(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const COLORREF c = BackdropColour(ps.rcPaint.left + x, ps.rcPaint.top + y);
                rows[static_cast<size_t>(y) * w + x] =
                    (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        SetDIBitsToDevice(dc, ps.rcPaint.left, ps.rcPaint.top, w, h, 0, 0, 0, h, rows.data(), &info,
                          DIB_RGB_COLORS);
        EndPaint(m_hWnd, &ps);
        return 0;
    }
};

RECT OuterBox(int left, int top, int width, int height) {
    return {left - 12, top - 12, left + width + 11, top + height + 11};
}

// Whether every pixel of the outer box shows either the bracket colour (on
// the brackets) or the untouched backdrop (everywhere else, hole included).
::testing::AssertionResult ScreenShowsBorder(int left, int top, int width, int height,
                                             COLORREF colour) {
    const BorderShape shape = ComputeBorderShape(left, top, width, height);
    const RECT box = OuterBox(left, top, width, height);
    const RECT area = {box.left - 2, box.top - 2, box.right + 2, box.bottom + 2};
    const ScreenShot shot(area);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF expected = BorderContains(shape, x, y) ? colour : BackdropColour(x, y);
            if (shot.At(x, y) != expected)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << shot.At(x, y)
                       << ", expected " << expected;
        }
    return ::testing::AssertionSuccess();
}

class FlashingWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        backdrop = std::make_unique<Backdrop>();
        ASSERT_TRUE(WaitUntil([] {
            return ScreenShot({5, 5, 6, 6}).At(5, 5) == BackdropColour(5, 5) &&
                   ScreenShot({1000, 700, 1001, 701}).At(1000, 700) == BackdropColour(1000, 700);
        })) << "the backdrop never showed";
        ASSERT_TRUE(border.CreateBorder("Flashing"));
    }

    // Shapes, shows and paints, then waits until the screen shows the result.
    ::testing::AssertionResult ShowBorder(int left, int top, int width, int height,
                                          COLORREF colour) {
        border.SetBorderRegion(left, top, width, height);
        border.ShowBorder(true);
        border.PaintBorder(colour);
        ::testing::AssertionResult shown = ::testing::AssertionFailure();
        WaitUntil(
            [&] { return bool(shown = ScreenShowsBorder(left, top, width, height, colour)); });
        return shown;
    }

    std::unique_ptr<Backdrop> backdrop;
    CFlashingWnd border;
};

}  // namespace

TEST_F(FlashingWndTest, CreatesAHiddenTopmostOpaqueClickThroughToolWindowOverTheWholeScreen) {
    HWND wnd = border.GetSafeHwnd();
    char title[32] = {};
    GetWindowTextA(wnd, title, sizeof title);
    EXPECT_STREQ(title, "Flashing");
    EXPECT_FALSE(IsWindowVisible(wnd));
    const DWORD wanted =
        WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT;
    EXPECT_EQ(DWORD(GetWindowLongA(wnd, GWL_EXSTYLE)) & wanted, wanted);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(flags, DWORD(LWA_ALPHA));
    RECT r;
    GetWindowRect(wnd, &r);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(FlashingWndTest, IdleBracketsSurroundTheRectangleAndLeaveKeysAndClicksToTheUsersWindow) {
    const HWND user = backdrop->GetSafeHwnd();
    SetForegroundWindow(user);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == user; }));
    EXPECT_TRUE(ShowBorder(100, 80, 320, 240, BorderIdleColour));
    EXPECT_EQ(GetForegroundWindow(), user);
    EXPECT_EQ(GetActiveWindow(), user);
    EXPECT_EQ(WindowFromPoint({88, 68}), user);  // on a bracket
    // Spot checks of the documented geometry, independent of the shape code.
    const ScreenShot shot({80, 60, 440, 340});
    EXPECT_EQ(shot.At(88, 68), RGB(0, 255, 80));   // outer top-left corner
    EXPECT_EQ(shot.At(123, 68), RGB(0, 255, 80));  // end of a 36-pixel arm
    EXPECT_EQ(shot.At(124, 68), BackdropColour(124, 68));
    EXPECT_EQ(shot.At(390, 68), RGB(0, 255, 80));  // start of a 41-pixel arm
    EXPECT_EQ(shot.At(389, 68), BackdropColour(389, 68));
    EXPECT_EQ(shot.At(430, 330), RGB(0, 255, 80));  // outer bottom-right corner
    EXPECT_EQ(shot.At(431, 330), BackdropColour(431, 330));
    EXPECT_EQ(shot.At(99, 79), RGB(0, 255, 80));
    EXPECT_EQ(shot.At(100, 80), BackdropColour(100, 80));

    border.ShowBorder(false);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(border.GetSafeHwnd()); }));
    EXPECT_EQ(GetForegroundWindow(), user);
}

TEST_F(FlashingWndTest, BusyColourReplacesTheIdleOne) {
    ASSERT_TRUE(ShowBorder(100, 80, 320, 240, BorderIdleColour));
    border.PaintBorder(BorderBusyColour);
    EXPECT_TRUE(
        WaitUntil([] { return bool(ScreenShowsBorder(100, 80, 320, 240, RGB(255, 255, 180))); }));
}

TEST_F(FlashingWndTest, SmallRectangleGetsAClosedFrameAroundAnUntouchedHole) {
    EXPECT_TRUE(ShowBorder(300, 400, 40, 30, BorderIdleColour));
    EXPECT_TRUE(ShowBorder(500, 200, 2, 2, BorderBusyColour));
}

TEST_F(FlashingWndTest, OnePixelWideRectangleIsShapedButNeverPainted) {
    border.SetBorderRegion(600, 100, 1, 100);
    border.ShowBorder(true);

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(border.GetSafeHwnd(), region), ERROR);
    RECT box;
    GetRgnBox(region, &box);
    DeleteObject(region);
    EXPECT_EQ(box.left, 588);
    EXPECT_EQ(box.top, 88);
    EXPECT_EQ(box.right, 612);
    EXPECT_EQ(box.bottom, 211);

    // Fill the window's surface with black, then ask for the busy colour:
    // the surface must still be black.
    {
        ScopedWindowDC dc(border.GetSafeHwnd());
        const RECT all = {0, 0, 1024, 768};
        FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    border.PaintBorder(BorderBusyColour);
    ScopedWindowDC dc(border.GetSafeHwnd());
    EXPECT_EQ(GetPixel(dc.Get(), 590, 90), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc.Get(), 605, 205), RGB(0, 0, 0));
}
