// The selection window on the real screen, driven with mouse input: the
// rubber band and the fixed-size rectangle, what they draw over the still
// picture of the screen, what they report to the owner and how the user
// calls them off.
#include <gtest/gtest.h>

#include <optional>

#include "region/LabelFont.h"
#include "region/MouseCaptureWnd.h"
#include "tests/win/SelectionHarness.h"
#include "tests/win/Waiting.h"

namespace {

class SelectionWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(backdrop.WaitUntilShown());
        before.emplace(FullScreen());
        ASSERT_TRUE(selection.CreateCaptureWnd());
    }

    // The region the owner was sent, once it arrives.
    std::optional<PixelRect> Reported() {
        WaitUntil([&] { return owner.region.has_value(); });
        return owner.region;
    }

    // Presses at `from`, drags to `to` and releases there.
    void Drag(POINT from, POINT to) {
        ASSERT_TRUE(PutCursorAt(from.x, from.y));
        PressLeft();
        ASSERT_TRUE(PutCursorAt(to.x, to.y));
        ReleaseLeft();
    }

    bool SelectionVisible() const { return IsWindowVisible(selection.GetSafeHwnd()); }

    // Makes the backdrop the foreground window, as the user's window is.
    void FocusBackdrop() {
        const HWND had = backdrop.GetSafeHwnd();
        SetForegroundWindow(had);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == had; }));
    }

    // Waits until the selection has ended with `count` cancellations so far,
    // reporting no region and with the foreground back with the backdrop.
    ::testing::AssertionResult CalledOff(int count) {
        const bool ended = WaitUntil([&] {
            return owner.cancellations == count && !SelectionVisible() &&
                   GetForegroundWindow() == backdrop.GetSafeHwnd();
        });
        if (!ended || owner.region || selection.Selecting())
            return ::testing::AssertionFailure()
                   << owner.cancellations << " cancellations, visible " << SelectionVisible()
                   << ", region " << owner.region.has_value() << ", foreground "
                   << GetForegroundWindow();
        return ::testing::AssertionSuccess();
    }

    PatternBackdrop& backdrop = SharedBackdrop();
    RegionOwner owner;
    CMouseCaptureWnd selection;
    std::optional<ScreenShot> before;  // the screen before the selection starts
};

}  // namespace

TEST_F(SelectionWndTest, CreatesAHiddenPopupOverThePrimaryScreenWithTheSelectionCursor) {
    HWND wnd = selection.GetSafeHwnd();
    EXPECT_FALSE(IsWindowVisible(wnd));
    EXPECT_EQ(DWORD(GetWindowLongA(wnd, GWL_STYLE)) & ~WS_CLIPSIBLINGS, WS_POPUP);
    EXPECT_EQ(GetWindowLongA(wnd, GWL_EXSTYLE), 0);
    RECT r;
    GetWindowRect(wnd, &r);
    EXPECT_EQ((PixelRect{r.left, r.top, r.right, r.bottom}), (PixelRect{0, 0, 1024, 768}));
    char title[32] = {};
    GetWindowTextA(wnd, title, sizeof title);
    EXPECT_STREQ(title, "Mouse Capture Window");

    auto cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrA(wnd, GCLP_HCURSOR));
    ICONINFO info{};
    ASSERT_TRUE(cursor && GetIconInfo(cursor, &info));
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 16u);
    EXPECT_EQ(info.yHotspot, 15u);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
}

TEST_F(SelectionWndTest, TheLabelFontHasTheCharactersForWidthAndHeight) {
    EXPECT_FALSE(LabelFaceName().empty());
}

TEST_F(SelectionWndTest, ShowsTheScreenAsItWasWhenTheSelectionStarted) {
    selection.StartRubberBand(&owner);
    ASSERT_TRUE(SelectionVisible());
    EXPECT_EQ(WindowFromPoint({512, 384}), selection.GetSafeHwnd());
    // What changes beneath the selection window does not show through it.
    backdrop.Shift(7);
    EXPECT_TRUE(WaitForScreen(*before));
    SaveScreenForReview("frozen-view");
}

TEST_F(SelectionWndTest, RubberBandFollowsTheCursorAndReportsTheDraggedRectangle) {
    selection.StartRubberBand(&owner);
    ASSERT_TRUE(PutCursorAt(300, 300));
    PressLeft();
    ASSERT_TRUE(PutCursorAt(500, 420));
    ASSERT_TRUE(WaitForSelection(*before, {300, 300, 500, 420}, selection.LabelRect()));
    const RECT above = selection.LabelRect();
    EXPECT_EQ(above.left, 300);
    EXPECT_EQ(above.bottom, 300 - 3);
    SaveScreenForReview("rubber-band");

    // Up and to the left of the anchor: the first frame and label are gone.
    ASSERT_TRUE(PutCursorAt(200, 250));
    ASSERT_TRUE(WaitForSelection(*before, {200, 250, 300, 300}, selection.LabelRect()));
    ReleaseLeft();
    EXPECT_EQ(Reported(), (PixelRect{200, 250, 300, 300}));
    EXPECT_FALSE(SelectionVisible());
    EXPECT_TRUE(WaitForScreen(*before));
}

TEST_F(SelectionWndTest, DraggingUpAndLeftReportsWhatDraggingDownAndRightDoes) {
    selection.StartRubberBand(&owner);
    Drag({600, 500}, {400, 310});
    EXPECT_EQ(Reported(), (PixelRect{400, 310, 600, 500}));
    owner.region.reset();
    selection.StartRubberBand(&owner);
    Drag({400, 310}, {600, 500});
    EXPECT_EQ(Reported(), (PixelRect{400, 310, 600, 500}));
}

TEST_F(SelectionWndTest, ABandUnderFourPixelsIsRubbedOutAndTheSelectionAsksAgain) {
    selection.StartRubberBand(&owner);
    ASSERT_TRUE(PutCursorAt(321, 123));
    PressLeft();
    ASSERT_TRUE(PutCursorAt(500, 300));
    ASSERT_TRUE(WaitForSelection(*before, {321, 123, 500, 300}, selection.LabelRect()));
    // Back to three pixels wide: the frame and label drawn last must go.
    ASSERT_TRUE(PutCursorAt(323, 300));
    ReleaseLeft();
    EXPECT_TRUE(WaitForScreen(*before));
    EXPECT_FALSE(WaitUntil([&] { return owner.region.has_value(); }, 300));
    ASSERT_TRUE(SelectionVisible());

    Drag({321, 123}, {324, 126});
    EXPECT_EQ(Reported(), (PixelRect{321, 123, 324, 126}));
}

TEST_F(SelectionWndTest, ReleaseWithoutAPressInTheWindowLeavesTheSelectionUp) {
    ASSERT_TRUE(PutCursorAt(321, 123));
    PressLeft();
    // The press has reached the backdrop before the selection window shows.
    ASSERT_TRUE(WaitUntil([] { return (GetKeyState(VK_LBUTTON) & 0x8000) != 0; }));
    selection.StartRubberBand(&owner);
    ReleaseLeft();
    EXPECT_FALSE(WaitUntil([&] { return owner.region.has_value(); }, 500));
    EXPECT_TRUE(SelectionVisible());
}

TEST_F(SelectionWndTest, FixedSizeStaysOnTheScreenAndReportsTheRectangleDrawnLast) {
    selection.StartFixedSize(&owner, 320, 240);
    ASSERT_TRUE(PutCursorAt(100, 50));
    ASSERT_TRUE(WaitForSelection(*before, {0, 0, 319, 239}, selection.LabelRect()));
    EXPECT_EQ(selection.LabelRect().top, 239 + 3);  // no room above
    SaveScreenForReview("fixed-size-corner");

    ASSERT_TRUE(PutCursorAt(1010, 400));
    ASSERT_TRUE(WaitForSelection(*before, {704, 280, 1023, 519}, selection.LabelRect()));
    SaveScreenForReview("fixed-size");

    ASSERT_TRUE(PutCursorAt(150, 110));
    ASSERT_TRUE(WaitForSelection(*before, {0, 0, 319, 239}, selection.LabelRect()));
    PressLeft();
    ReleaseLeft();
    EXPECT_EQ(Reported(), (PixelRect{0, 0, 319, 239}));
    EXPECT_FALSE(SelectionVisible());
    EXPECT_TRUE(WaitForScreen(*before));
}

TEST_F(SelectionWndTest, FixedSizeClickBeforeAnyMovePlacesTheRectangleAtTheCursor) {
    selection.StartFixedSize(&owner, 320, 240);
    ASSERT_TRUE(PutCursorAt(300, 300));
    PressLeft();
    ReleaseLeft();
    ASSERT_EQ(Reported(), (PixelRect{140, 180, 459, 419}));

    owner.region.reset();
    ASSERT_TRUE(PutCursorAt(700, 500));
    selection.StartFixedSize(&owner, 320, 240);
    PressLeft();
    ReleaseLeft();
    EXPECT_EQ(Reported(), (PixelRect{540, 380, 859, 619}));
}

TEST_F(SelectionWndTest, WithoutAnOwnerWindowNothingIsPostedAndTheSelectionEnds) {
    owner.DestroyWindow();
    selection.StartRubberBand(&owner);
    Drag({200, 200}, {300, 300});
    EXPECT_TRUE(WaitUntil([&] { return !SelectionVisible(); }));
    EXPECT_FALSE(owner.region.has_value());
}

TEST_F(SelectionWndTest, EscapeOrARightClickCallsOffTheRubberBandAndTheFixedSize) {
    FocusBackdrop();
    selection.StartRubberBand(&owner);
    EXPECT_TRUE(selection.Selecting());
    EXPECT_EQ(GetForegroundWindow(), selection.GetSafeHwnd());
    ASSERT_TRUE(PutCursorAt(300, 300));
    PressLeft();
    ASSERT_TRUE(PutCursorAt(500, 420));
    ASSERT_TRUE(WaitForSelection(*before, {300, 300, 500, 420}, selection.LabelRect()));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(CalledOff(1));
    // The release reaches the window beneath, and the next selection starts after it.
    ReleaseLeft();
    ASSERT_TRUE(WaitUntil([] { return (GetKeyState(VK_LBUTTON) & 0x8000) == 0; }));
    // The next selection takes its still picture of the screen once the
    // first one has left it (a busy machine repaints what it covered late).
    ASSERT_TRUE(WaitForScreen(*before));

    selection.StartFixedSize(&owner, 320, 240);
    ASSERT_TRUE(PutCursorAt(400, 300));
    ASSERT_TRUE(WaitForSelection(*before, {240, 180, 559, 419}, selection.LabelRect()));
    ClickRight();
    EXPECT_TRUE(CalledOff(2));
}

TEST_F(SelectionWndTest, CancelSelectionEndsARunningSelectionOnly) {
    FocusBackdrop();
    selection.CancelSelection();
    selection.StartRubberBand(&owner);
    selection.CancelSelection();
    EXPECT_TRUE(CalledOff(1));
    selection.CancelSelection();
    EXPECT_FALSE(WaitUntil([&] { return owner.cancellations != 1; }, 300));
}
