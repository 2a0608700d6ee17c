// The frame's status bar: panes of fixed width and, optionally, one that
// stretches over the rest. Pane 0 carries the command prompts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/StatusPanes.h"

class CStatusBar {
public:
    CStatusBar() = default;
    CStatusBar(const CStatusBar&) = delete;
    CStatusBar& operator=(const CStatusBar&) = delete;

    BOOL Create(HWND parent, DWORD style, UINT id);
    BOOL SetPanes(const std::vector<StatusPane>& panes);
    // Sets a pane's text, in the pane's own border style, and redraws it at once.
    BOOL SetPaneText(int index, const char* text);
    // Recomputes the panes' right edges for the bar's current width.
    void LayoutPanes();
    // The width a pane needs to show each of these texts whole in the bar's
    // own font, and at least `least` pixels.
    int PaneWidthFor(const std::vector<std::string>& texts, int least) const;

    HWND GetSafeHwnd() const { return m_hWnd; }

private:
    HWND m_hWnd = nullptr;
    std::vector<StatusPane> m_panes;
};
