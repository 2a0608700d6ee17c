// What a user meets on the main window itself: the tray icon's clicks, the
// command prompts in the first status pane, the toolbar's tooltips, and the
// state pane showing its longest text whole.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

#include "engine/RecordingMessages.h"
#include "frame/TrayIcon.h"
#include "framework/ScopedHandles.h"
#include "res/resource.h"
#include "tests/win/OwnWindows.h"
#include "tests/win/RunningApp.h"
#include "tests/win/ScreenProbe.h"
#include "tests/win/SelectionHarness.h"
#include "tests/win/Waiting.h"

namespace {

HWND Bar(UINT id) { return GetDlgItem(MainWindow(), id); }

void BringUp() {
    ShowWindow(MainWindow(), SW_SHOW);
    SetForegroundWindow(MainWindow());
    UpdateWindow(MainWindow());
}

bool Visible() { return IsWindowVisible(MainWindow()) != FALSE; }

void Tray(WPARAM id, LPARAM mouseMessage) {
    SendMessageA(MainWindow(), WM_USER_TRAYNOTIFY, id, mouseMessage);
}

TEST(MainWindowTray, LeftOrRightPressShowsTheHiddenWindowAndOtherEventsDoNot) {
    for (LPARAM press : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        ShowWindow(MainWindow(), SW_HIDE);
        for (LPARAM other : {WM_LBUTTONUP, WM_RBUTTONUP, WM_MOUSEMOVE, WM_LBUTTONDBLCLK})
            Tray(TrayIconId, other);
        Tray(TrayIconId + 1, press);
        EXPECT_FALSE(Visible()) << "shown by an event the icon must ignore";
        Tray(TrayIconId, press);
        EXPECT_TRUE(Visible()) << "press " << press;
        EXPECT_EQ(GetForegroundWindow(), MainWindow()) << "press " << press;
    }
}

TEST(MainWindowTray, APressWhileVisibleBringsTheWindowForward) {
    BringUp();
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    ASSERT_EQ(GetForegroundWindow(), other);
    Tray(TrayIconId, WM_RBUTTONDOWN);
    EXPECT_EQ(GetForegroundWindow(), MainWindow());
    EXPECT_TRUE(Visible());
    DestroyWindow(other);
}

void PressKey(WORD key) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = key;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof in[0]);
}

// Opens the Record menu from the keyboard, as Alt+R does, and walks it with
// keys from another thread while the menu runs modally on this one.
TEST(MainWindowPrompts, MenuItemsShowTheirPromptAndClosingTheMenuShowsReady) {
    BringUp();
    auto walk = std::async(std::launch::async, [] {
        std::string seen;
        auto shows = [&](const char* text) {
            return WaitUntil([&] { return (seen = PaneText(0)) == text; }, 5000);
        };
        const bool start = shows("Start Recording");
        PressKey(VK_DOWN);
        const bool pause = shows("Pause/Resume Recording");
        PressKey(VK_ESCAPE);
        PressKey(VK_ESCAPE);
        const bool ready = shows("Ready");
        // Whatever happened, the menu must not stay open.
        if (!ready) SendMessageA(MainWindow(), WM_CANCELMODE, 0, 0);
        return std::string(start ? "" : "no Start prompt; ") + (pause ? "" : "no Pause prompt; ") +
               (ready ? "" : "not Ready after the menu closed; ") + "pane 0 shows '" + seen + "'";
    });
    SendMessageA(MainWindow(), WM_SYSCOMMAND, SC_KEYMENU, 'r');
    // The walk reads the panes through this thread's messages: keep pumping.
    WaitUntil([&] { return walk.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
              20000);
    EXPECT_EQ(walk.get(), "pane 0 shows 'Ready'");
}

std::string WindowString(HWND w) {
    char text[256] = {};
    GetWindowTextA(w, text, sizeof text);
    return text;
}

TEST(MainWindowPrompts, HoveringAToolbarButtonShowsItsTipAndItsPrompt) {
    BringUp();
    RECT button{};
    ASSERT_TRUE(SendMessageA(Bar(AFX_IDW_TOOLBAR), TB_GETRECT, ID_RECORD_STOP,
                             reinterpret_cast<LPARAM>(&button)));
    MapWindowPoints(Bar(AFX_IDW_TOOLBAR), nullptr, reinterpret_cast<POINT*>(&button), 2);
    // Two moves inside the button: the toolbar tracks the hover from the first.
    ASSERT_TRUE(PutCursorAt(button.left + 10, button.top + 10));
    ASSERT_TRUE(PutCursorAt(button.left + 14, button.top + 12));
    HWND tip = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] { return (tip = ShownWindowOfClass(TOOLTIPS_CLASSA)) && WindowString(tip) != ""; }));
    if (tip) {
        EXPECT_EQ(WindowString(tip), "Stop Recording");
    }
    EXPECT_TRUE(WaitUntil([] { return PaneText(0) == "Stop Recording"; })) << PaneText(0);
    // Leaving the toolbar brings the idle prompt back.
    ASSERT_TRUE(PutCursorAt(button.left + 10, button.bottom + 120));
    EXPECT_TRUE(WaitUntil([] { return PaneText(0) == "Ready"; })) << PaneText(0);
}

bool IsInk(COLORREF c, COLORREF ink) {
    return std::abs(GetRValue(c) - GetRValue(ink)) + std::abs(GetGValue(c) - GetGValue(ink)) +
               std::abs(GetBValue(c) - GetBValue(ink)) <
           120;
}

// First and last column of `columns` that holds an ink pixel, or {-1, -1}.
template <typename PixelAt>
std::pair<int, int> InkColumns(int columns, int rows, PixelAt at) {
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    int first = -1, last = -1;
    for (int x = 0; x < columns; ++x)
        for (int y = 0; y < rows; ++y)
            if (IsInk(at(x, y), ink)) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

// How wide the text comes out in the bar's font and colours, in pixels.
int DrawnWidth(const char* text, HFONT font) {
    constexpr int W = 400, H = 40;
    ScopedWindowDC screen(nullptr);
    ScopedMemoryDC dc(screen.Get());
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), W, H));
    ScopedSelect selectBitmap(dc.Get(), bitmap.Get());
    ScopedSelect selectFont(dc.Get(), font);
    RECT all{0, 0, W, H};
    FillRect(dc.Get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    SetTextColor(dc.Get(), GetSysColor(COLOR_BTNTEXT));
    SetBkMode(dc.Get(), TRANSPARENT);
    TextOutA(dc.Get(), 10, 10, text, static_cast<int>(strlen(text)));
    const auto [first, last] = InkColumns(W, H, [&](int x, int y) { return GetPixel(dc.Get(), x, y); });
    return first < 0 ? 0 : last - first + 1;
}

TEST(MainWindowStatus, TheStatePaneShowsRecordingStoppedWhole) {
    BringUp();
    SendMessageA(MainWindow(), WM_RECORD_STATUS, static_cast<WPARAM>(-3), 0);
    ASSERT_EQ(PaneText(1), "Recording stopped");
    HWND bar = Bar(AFX_IDW_STATUS_BAR);
    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT pane{};
    ASSERT_TRUE(SendMessageA(bar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&pane)));
    EXPECT_GE(pane.right - pane.left, 80);
    MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&pane), 2);
    // Inside the pane's edges: what the pane shows of its text.
    const RECT inside{pane.left + 2, pane.top + 2, pane.right - 2, pane.bottom - 2};
    // The screen shows the painted pane once Wine has flushed it.
    std::pair<int, int> ink{-1, -1};
    ASSERT_TRUE(WaitUntil([&] {
        const ScreenShot shot(inside);
        ink = InkColumns(inside.right - inside.left, inside.bottom - inside.top,
                         [&](int x, int y) { return shot.At(inside.left + x, inside.top + y); });
        return ink.first >= 0;
    })) << "no text in the pane";
    const auto [first, last] = ink;
    auto* font = reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0));
    // A pixel either way for smoothed edges; a cut loses a letter or more.
    EXPECT_NEAR(last - first + 1, DrawnWidth("Recording stopped", font), 1)
        << "the pane cuts its text; pane " << pane.right - pane.left << " pixels wide";
    EXPECT_LT(inside.left + last, inside.right - 1) << "the text runs into the pane's edge";
}

}  // namespace
