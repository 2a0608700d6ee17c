// Window mode of the selection window on the real screen: the window under
// the cursor, from the list made when the selection starts, down to its
// deepest child; what is skipped; what reaches the owner; calling it off.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

#include "region/MouseCaptureWnd.h"
#include "tests/win/SelectionHarness.h"
#include "tests/win/Waiting.h"

namespace {

// A captioned top-level window in the button face colour.
class TestWindow : public CWnd {
public:
    TestWindow(const char* title, int x, int y, int w, int h) {
        const char* cls = AfxRegisterWndClass(0, LoadCursorA(nullptr, IDC_ARROW),
                                              reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        CreateEx(0, cls, title, WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, x, y, w, h, nullptr,
                 nullptr);
        UpdateWindow(m_hWnd);
    }
    HWND AddButton(int x, int y, int w, int h) {
        HWND button = CreateWindowExA(0, "BUTTON", "Pick me", WS_CHILD | WS_VISIBLE, x, y, w, h,
                                      m_hWnd, nullptr, GetModuleHandleA(nullptr), nullptr);
        UpdateWindow(button);
        return button;
    }
};

// A window's rectangle as the selection reports it: right and bottom inclusive.
PixelRect Inclusive(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return {r.left, r.top, r.right - 1, r.bottom - 1};
}

POINT Centre(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class RegionWindowPickTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Disabled, so it is not listed: where no test window is, nothing is hit.
        EnableWindow(backdrop.GetSafeHwnd(), FALSE);
        ASSERT_TRUE(backdrop.WaitUntilShown());
        ASSERT_TRUE(selection.CreateCaptureWnd());
    }

    // Waits until the test windows show, then keeps the screen as it is.
    void TakeScreenBefore(std::initializer_list<HWND> shown) {
        for (HWND w : shown) {
            const POINT c = Centre(w);
            ASSERT_TRUE(WaitUntil([&] {
                return ScreenShot({c.x, c.y, c.x + 1, c.y + 1}).At(c.x, c.y) ==
                       GetSysColor(COLOR_BTNFACE);
            })) << "a test window never showed";
        }
        before.emplace(FullScreen());
    }

    ::testing::AssertionResult Highlighted(const PixelRect& r) {
        return WaitForSelection(*before, r, selection.LabelRect());
    }

    std::optional<PixelRect> Reported() {
        WaitUntil([&] { return owner.region.has_value(); });
        return owner.region;
    }

    void Click() {
        PressLeft();
        ReleaseLeft();
    }

    PatternBackdrop& backdrop = SharedBackdrop();
    RegionOwner owner;
    CMouseCaptureWnd selection;
    std::optional<ScreenShot> before;
};

}  // namespace

TEST_F(RegionWindowPickTest, PointingAtAButtonHighlightsItAndTheReleaseReportsIt) {
    TestWindow dialog("Dialog", 200, 150, 400, 300);
    HWND button = dialog.AddButton(40, 60, 120, 40);
    TakeScreenBefore({dialog.GetSafeHwnd()});
    selection.StartWindowPick(&owner);

    const PixelRect frame = Inclusive(dialog.GetSafeHwnd());
    ASSERT_TRUE(PutCursorAt(frame.left + 100, frame.top + 5));  // the title bar
    ASSERT_TRUE(Highlighted(frame));
    ASSERT_TRUE(PutCursorAt(Centre(button).x, Centre(button).y));
    ASSERT_TRUE(Highlighted(Inclusive(button)));
    SaveScreenForReview("window-pick");
    Click();
    EXPECT_EQ(Reported(), Inclusive(button));
    EXPECT_FALSE(IsWindowVisible(selection.GetSafeHwnd()));
    EXPECT_TRUE(WaitForScreen(*before));
}

TEST_F(RegionWindowPickTest, ADisabledWindowIsSkippedForTheOneBeneath) {
    TestWindow beneath("Beneath", 200, 150, 400, 300);
    TestWindow disabled("Disabled", 300, 250, 200, 120);
    EnableWindow(disabled.GetSafeHwnd(), FALSE);
    TakeScreenBefore({beneath.GetSafeHwnd(), disabled.GetSafeHwnd()});
    selection.StartWindowPick(&owner);

    ASSERT_TRUE(PutCursorAt(Centre(disabled.GetSafeHwnd()).x, Centre(disabled.GetSafeHwnd()).y));
    ASSERT_TRUE(Highlighted(Inclusive(beneath.GetSafeHwnd())));
    Click();
    EXPECT_EQ(Reported(), Inclusive(beneath.GetSafeHwnd()));
}

TEST_F(RegionWindowPickTest, AMinimisedWindowIsNeverHighlighted) {
    TestWindow other("Other", 100, 100, 200, 150);
    TestWindow minimised("Minimised", 500, 300, 200, 150);
    const POINT where = Centre(minimised.GetSafeHwnd());
    TakeScreenBefore({other.GetSafeHwnd(), minimised.GetSafeHwnd()});
    minimised.ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(minimised.GetSafeHwnd()) != 0; }));
    TakeScreenBefore({other.GetSafeHwnd()});
    selection.StartWindowPick(&owner);

    ASSERT_TRUE(PutCursorAt(Centre(other.GetSafeHwnd()).x, Centre(other.GetSafeHwnd()).y));
    ASSERT_TRUE(Highlighted(Inclusive(other.GetSafeHwnd())));
    // Where the minimised window was nothing is hit, so the release reports the other one.
    ASSERT_TRUE(PutCursorAt(where.x, where.y));
    Click();
    EXPECT_EQ(Reported(), Inclusive(other.GetSafeHwnd()));
}

TEST_F(RegionWindowPickTest, AWindowPartlyOffTheScreenReachesTheOwnerWithNegativeCoordinates) {
    TestWindow offScreen("Off", -50, -40, 300, 200);
    TakeScreenBefore({offScreen.GetSafeHwnd()});
    selection.StartWindowPick(&owner);

    ASSERT_TRUE(PutCursorAt(60, 80));
    ASSERT_TRUE(Highlighted({-50, -40, 249, 159}));
    Click();
    EXPECT_EQ(Reported(), (PixelRect{-50, -40, 249, 159}));
}

TEST_F(RegionWindowPickTest, AReleaseBeforeAnyHighlightReportsNothingAndTheSelectionGoesOn) {
    TestWindow first("First", 100, 100, 200, 150);
    TestWindow second("Second", 500, 300, 200, 150);
    TakeScreenBefore({first.GetSafeHwnd(), second.GetSafeHwnd()});
    selection.StartWindowPick(&owner);
    ASSERT_TRUE(PutCursorAt(Centre(first.GetSafeHwnd()).x, Centre(first.GetSafeHwnd()).y));
    Click();
    ASSERT_EQ(Reported(), Inclusive(first.GetSafeHwnd()));
    owner.region.reset();

    // The next selection starts on an empty part of the screen.
    ASSERT_TRUE(PutCursorAt(900, 700));
    selection.StartWindowPick(&owner);
    ASSERT_TRUE(PutCursorAt(901, 700));
    Click();
    EXPECT_FALSE(WaitUntil([&] { return owner.region.has_value(); }, 500));
    EXPECT_TRUE(IsWindowVisible(selection.GetSafeHwnd()));

    // Nothing of the earlier selection's frame is erased or drawn.
    ASSERT_TRUE(PutCursorAt(Centre(second.GetSafeHwnd()).x, Centre(second.GetSafeHwnd()).y));
    ASSERT_TRUE(Highlighted(Inclusive(second.GetSafeHwnd())));
    Click();
    EXPECT_EQ(Reported(), Inclusive(second.GetSafeHwnd()));
}

TEST_F(RegionWindowPickTest, AWindowClosedDuringTheSelectionKeepsItsHighlightAndIsReported) {
    auto closing = std::make_unique<TestWindow>("Closing", 300, 200, 300, 200);
    TakeScreenBefore({closing->GetSafeHwnd()});
    selection.StartWindowPick(&owner);
    const PixelRect frame = Inclusive(closing->GetSafeHwnd());
    ASSERT_TRUE(PutCursorAt(350, 250));
    ASSERT_TRUE(Highlighted(frame));

    closing.reset();
    ASSERT_TRUE(PutCursorAt(400, 300));
    ASSERT_TRUE(PutCursorAt(500, 350));
    EXPECT_TRUE(Highlighted(frame));
    Click();
    EXPECT_EQ(Reported(), frame);
}

TEST_F(RegionWindowPickTest, EscapeOrARightClickCallsItOffAndGivesTheForegroundBack) {
    TestWindow user("User", 300, 200, 300, 200);
    SetForegroundWindow(user.GetSafeHwnd());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == user.GetSafeHwnd(); }));
    TakeScreenBefore({user.GetSafeHwnd()});
    const std::function<void()> callOff[] = {[] { PressKey(VK_ESCAPE); }, ClickRight};
    for (int i = 0; i < 2; ++i) {
        selection.StartWindowPick(&owner);
        ASSERT_TRUE(PutCursorAt(350 + i, 250));
        ASSERT_TRUE(Highlighted(Inclusive(user.GetSafeHwnd())));
        callOff[i]();
        EXPECT_TRUE(WaitUntil([&] {
            return owner.cancellations == i + 1 && !IsWindowVisible(selection.GetSafeHwnd()) &&
                   GetForegroundWindow() == user.GetSafeHwnd();
        })) << "cancellations: "
            << owner.cancellations;
        EXPECT_FALSE(owner.region.has_value());
    }
}
