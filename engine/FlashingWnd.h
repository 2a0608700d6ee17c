// The window of the four corner brackets that mark the recorded rectangle.
// It covers the whole primary screen but its window region cuts it down to
// the brackets, so it hides nothing else and never shows in a frame. It
// never takes the keyboard or a click from the user's windows, and asks the
// system to leave it out of screen captures.
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

constexpr COLORREF BorderIdleColour = 0x0050FF00;  // green, between grabs
constexpr COLORREF BorderBusyColour = 0x00B4FFFF;  // pale yellow, while grabbing

class CFlashingWnd : public CWnd {
public:
    BOOL CreateBorder(const char* title);
    // Stores the rectangle (inclusive) and shapes the window around it.
    void SetBorderRegion(int left, int top, int width, int height);
    void PaintBorder(COLORREF colour);
    // Shows it without activating it, or hides it.
    void ShowBorder(bool show);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;
    int m_screenWidth = 0, m_screenHeight = 0;
    HRGN m_region = nullptr;  // owned by the window once set
};
