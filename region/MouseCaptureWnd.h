// The selection window: it covers the primary screen while the user marks
// with the mouse the region to record (a dragged rectangle, a fixed-size one
// that follows the cursor, or a window pointed at), then hides and posts the
// inclusive rectangle to its owner as WM_USER_REGIONSELECTED. Escape or a
// right click calls the selection off: it hides and posts
// WM_USER_REGIONCANCELLED instead. While it runs it holds the foreground (so
// that it hears Escape) and hands it back to the window that had it.
#pragma once

#include <windows.h>

#include "framework/PixelRect.h"
#include "framework/Wnd.h"
#include "region/RegionMessage.h"
#include "region/SelectionPainter.h"
#include "region/WindowList.h"

class CMouseCaptureWnd : public CWnd {
public:
    // Creates the hidden popup over the whole primary screen, whose size it keeps.
    BOOL CreateCaptureWnd();

    void StartRubberBand(CWnd* owner);
    void StartFixedSize(CWnd* owner, int width, int height);
    void StartWindowPick(CWnd* owner);
    // Ends a running selection as the user's Escape does.
    void CancelSelection();
    bool Selecting() const { return m_selecting; }

    // Where the coordinate label was drawn last.
    const RECT& LabelRect() const { return m_painter.LabelRect(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    enum class Mode { FixedSize = 0, RubberBand = 1, Window = 2 };

    void Start(CWnd* owner, Mode mode);
    void OnLButtonDown(POINT p);
    void OnMouseMove(POINT p);
    void OnLButtonUp(POINT p);
    void OnRubberBandUp(POINT p);
    void OnFixedSizeMove(POINT p);
    void OnWindowModeMove(POINT p);
    void OnWindowModeUp();
    void OnPaint();
    void DrawSelection(const PixelRect& old, const PixelRect& now);
    void Finish(const PixelRect& inclusive);
    void End();
    void PostToOwner(UINT message, WPARAM wParam, LPARAM lParam) const;
    bool HasCapture() const { return GetCapture() == m_hWnd; }

    int m_screenWidth = 0, m_screenHeight = 0;
    Mode m_mode = Mode::RubberBand;
    POINT m_anchor{}, m_current{};
    int m_fixedWidth = 0, m_fixedHeight = 0;
    bool m_firstMove = false;
    CWnd* m_owner = nullptr;
    CWindowList m_windowList;
    HWND m_picked = nullptr;  // highlighted last in this window-mode selection
    CSelectionPainter m_painter;
    bool m_selecting = false;
    HWND m_previousForeground = nullptr;  // gets the foreground back at the end
};
