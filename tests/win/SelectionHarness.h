// What the selection window tests share: a patterned backdrop, an owner that
// keeps the region it is sent, real mouse input, and the check of what the
// screen shows against a picture taken before the selection started.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

#include "framework/PixelRect.h"
#include "framework/Wnd.h"
#include "tests/win/ScreenProbe.h"

// Failures show rectangles as (left, top)-(right, bottom).
inline void PrintTo(const PixelRect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

// Never grey, never black or white, also when inverted; `shift` moves the pattern.
COLORREF PatternColour(int x, int y, int shift);

// A full-screen window painting PatternColour.
class PatternBackdrop : public CWnd {
public:
    PatternBackdrop();
    void Shift(int shift);  // repaints at once
    // Waits until the screen shows the pattern unshifted.
    ::testing::AssertionResult WaitUntilShown();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int m_shift = 0;
};

// One backdrop for the whole test program: Wine takes two seconds to hide or
// destroy a full-screen window when no window manager runs.
PatternBackdrop& SharedBackdrop();

// A hidden window that keeps the last WM_USER_REGIONSELECTED it was posted
// and counts the WM_USER_REGIONCANCELLED.
class RegionOwner : public CWnd {
public:
    RegionOwner();
    std::optional<PixelRect> region;
    int cancellations = 0;
    WPARAM rawWParam = 0;
    LPARAM rawLParam = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Mouse input through SendInput, as the user makes it.
void MoveMouse(int x, int y);
void PressLeft();
void ReleaseLeft();
void ClickRight();
void PressKey(WORD virtualKey);  // down and up
// Moves there and waits until the cursor is there.
::testing::AssertionResult PutCursorAt(int x, int y);

RECT FullScreen();

// Whether the screen shows `before` with the drag frame of the rectangle (its
// 4-pixel band inverted in a checkerboard) and, in the label rectangle, a
// label: white with dark text and an outline. Everything else must be unchanged.
::testing::AssertionResult ScreenShowsSelection(const ScreenShot& before, const PixelRect& frame,
                                                const RECT& label);
// Waits until it does.
::testing::AssertionResult WaitForSelection(const ScreenShot& before, const PixelRect& frame,
                                            const RECT& label);
// Waits until the screen equals `before` again.
::testing::AssertionResult WaitForScreen(const ScreenShot& before);

// Saves the screen as NAME.bmp into the folder named by BRANTLE_SHOT_DIR, when set.
void SaveScreenForReview(const char* name);
