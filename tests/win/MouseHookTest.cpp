// hook.dll as the program uses it: linked by import, it reports synthetic
// mouse input to a window with the cursor shown, and is silent once removed.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/Wnd.h"
#include "hook/MouseHook.h"
#include "tests/win/Waiting.h"

namespace {

const UINT kSaveCursorMsg = RegisterWindowMessageA("WM_USER_SAVECURSOR_MSG");
constexpr UINT kMarker = WM_APP + 1;
constexpr RECT kArea = {100, 100, 500, 400};
constexpr LONG kSplitX = 300;  // the arrow left of it, the cross right of it
constexpr POINT kArrowSpot = {200, 250};
constexpr POINT kCrossSpot = {400, 250};

struct Report {
    HCURSOR cursor;
    UINT mouseMessage;
};

// A topmost window that keeps the hook's reports and notes the input it gets
// itself. Its left half shows the arrow, its right half the cross.
class Listener : public CWnd {
public:
    Listener() {
        CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), "Hook listener", WS_POPUP | WS_VISIBLE,
                 kArea.left, kArea.top, kArea.right - kArea.left, kArea.bottom - kArea.top, nullptr,
                 nullptr);
    }
    std::vector<Report> reports;
    int rightUps = 0;
    std::vector<POINT> moves;  // screen coordinates
    bool marked = false;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kSaveCursorMsg)
            reports.push_back({reinterpret_cast<HCURSOR>(wParam), static_cast<UINT>(lParam)});
        if (message == WM_RBUTTONUP) ++rightUps;
        if (message == WM_MOUSEMOVE)
            moves.push_back({kArea.left + LOWORD(lParam), kArea.top + HIWORD(lParam)});
        if (message == kMarker) marked = true;
        if (message == WM_SETCURSOR) {
            POINT at;
            GetCursorPos(&at);
            SetCursor(LoadCursor(nullptr, at.x < kSplitX ? IDC_ARROW : IDC_CROSS));
            return TRUE;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

INPUT MouseInput(DWORD flags, POINT to = {}) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.dx = MulDiv(to.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(to.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    return in;
}

// One window for the whole program: Wine takes two seconds to destroy one
// when no window manager runs.
Listener& SharedListener() {
    static Listener listener;
    return listener;
}

class MouseHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.reports.clear();
        SetForegroundWindow(window.GetSafeHwnd());
        // The cursor GetCursorInfo gives is the foreground window's.
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window.GetSafeHwnd(); }));
    }
    void TearDown() override { UninstallMyHook(window.GetSafeHwnd()); }

    // Moves there and waits until the window has had the move.
    bool MoveTo(POINT to) {
        const auto there = [&](POINT p) { return p.x == to.x && p.y == to.y; };
        if (!window.moves.empty() && there(window.moves.back())) return true;  // no move comes
        window.moves.clear();
        INPUT in = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, to);
        SendInput(1, &in, sizeof in);
        return WaitUntil(
                   [&] { return std::any_of(window.moves.begin(), window.moves.end(), there); }) &&
               Settle();
    }

    // Outside a virtual desktop Wine sometimes replays the move before the
    // last one, late, from the X server: two moves in the same half keep
    // the cursor's shape whatever comes.
    bool PutCursorIn(POINT spot) { return MoveTo(spot) && MoveTo({spot.x + 5, spot.y}); }

    // Left click, then right click, where the cursor is; waits until the
    // window has had the last button release.
    bool ClickBoth() {
        INPUT in[] = {MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP),
                      MouseInput(MOUSEEVENTF_RIGHTDOWN), MouseInput(MOUSEEVENTF_RIGHTUP)};
        const int before = window.rightUps;
        SendInput(4, in, sizeof in[0]);
        return WaitUntil([&] { return window.rightUps > before; }) && Settle();
    }

    // The hook sees input before the window does, so what it reports about
    // that input was posted before this marker.
    bool Settle() {
        window.marked = false;
        PostMessageA(window.GetSafeHwnd(), kMarker, 0, 0);
        return WaitUntil([&] { return window.marked; });
    }

    std::vector<UINT> Buttons() const {
        std::vector<UINT> buttons;
        for (const Report& r : window.reports)
            if (r.mouseMessage != WM_MOUSEMOVE) buttons.push_back(r.mouseMessage);
        return buttons;
    }

    Listener& window = SharedListener();
    const std::vector<UINT> kClicks = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP};
};

TEST_F(MouseHookTest, ExportsPlainNamesFromTheImportedDll) {
    const HMODULE dll = GetModuleHandleA("hook.dll");
    ASSERT_NE(dll, nullptr);
    EXPECT_NE(GetProcAddress(dll, "InstallMyHook"), nullptr);
    EXPECT_NE(GetProcAddress(dll, "UninstallMyHook"), nullptr);
}

TEST_F(MouseHookTest, ReportsEveryButtonInOrderWithTheCursorShown) {
    ASSERT_TRUE(PutCursorIn(kCrossSpot));
    ASSERT_TRUE(InstallMyHook(window.GetSafeHwnd(), 0));
    ASSERT_TRUE(ClickBoth());
    EXPECT_EQ(Buttons(), kClicks);
    for (const Report& r : window.reports) EXPECT_EQ(r.cursor, LoadCursor(nullptr, IDC_CROSS));
}

TEST_F(MouseHookTest, ReportsAMoveThatChangesTheCursor) {
    ASSERT_TRUE(PutCursorIn(kArrowSpot));
    ASSERT_TRUE(InstallMyHook(window.GetSafeHwnd(), 0));
    // The hook sees the first move into the cross half while the arrow still
    // shows; the window changes the cursor after it.
    ASSERT_TRUE(PutCursorIn(kCrossSpot));
    ASSERT_FALSE(window.reports.empty());
    EXPECT_EQ(window.reports.front().cursor, LoadCursor(nullptr, IDC_ARROW));
    EXPECT_TRUE(std::any_of(window.reports.begin(), window.reports.end(), [](const Report& r) {
        return r.mouseMessage == WM_MOUSEMOVE && r.cursor == LoadCursor(nullptr, IDC_CROSS);
    }));
}

TEST_F(MouseHookTest, TellsTheCursorAtInstallationWithoutWaitingForTheMouse) {
    ASSERT_TRUE(PutCursorIn(kCrossSpot));
    ASSERT_TRUE(Settle());
    window.reports.clear();
    ASSERT_TRUE(InstallMyHook(window.GetSafeHwnd(), 0));
    ASSERT_TRUE(Settle());
    ASSERT_EQ(window.reports.size(), 1u);
    EXPECT_EQ(window.reports.front().mouseMessage, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(window.reports.front().cursor, LoadCursor(nullptr, IDC_CROSS));
}

TEST_F(MouseHookTest, SilentOnceUninstalled) {
    EXPECT_TRUE(UninstallMyHook(window.GetSafeHwnd()));  // never installed
    ASSERT_TRUE(InstallMyHook(window.GetSafeHwnd(), 0));
    ASSERT_TRUE(UninstallMyHook(window.GetSafeHwnd()));
    ASSERT_TRUE(Settle());
    window.reports.clear();  // what the hook told at installation
    ASSERT_TRUE(PutCursorIn(kArrowSpot));
    ASSERT_TRUE(PutCursorIn(kCrossSpot));
    ASSERT_TRUE(ClickBoth());
    EXPECT_TRUE(window.reports.empty());
}

TEST_F(MouseHookTest, InstallingOrUninstallingTwiceIsHarmless) {
    ASSERT_TRUE(PutCursorIn(kCrossSpot));
    ASSERT_TRUE(InstallMyHook(window.GetSafeHwnd(), 0));
    ASSERT_TRUE(InstallMyHook(window.GetSafeHwnd(), 0));
    ASSERT_TRUE(ClickBoth());
    EXPECT_EQ(Buttons(), kClicks);  // one hook, not two

    UninstallMyHook(window.GetSafeHwnd());
    UninstallMyHook(window.GetSafeHwnd());
    window.reports.clear();
    ASSERT_TRUE(ClickBoth());
    EXPECT_TRUE(window.reports.empty());

    ASSERT_TRUE(InstallMyHook(window.GetSafeHwnd(), 0));
    ASSERT_TRUE(ClickBoth());
    EXPECT_EQ(Buttons(), kClicks);
}

}  // namespace
