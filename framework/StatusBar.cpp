#include "framework/StatusBar.h"

#include <commctrl.h>

#include "framework/ScopedHandles.h"

BOOL CStatusBar::Create(HWND parent, DWORD style, UINT id) {
    m_hWnd = CreateWindowExA(0, STATUSCLASSNAMEA, "", style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                             GetModuleHandleA(nullptr), nullptr);
    return m_hWnd != nullptr;
}

BOOL CStatusBar::SetPanes(const std::vector<StatusPane>& panes) {
    m_panes = panes;
    LayoutPanes();
    return TRUE;
}

void CStatusBar::LayoutPanes() {
    if (!m_hWnd || m_panes.empty()) return;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    std::vector<int> edges = PaneRightEdges(m_panes, client.right);
    SendMessageA(m_hWnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

BOOL CStatusBar::SetPaneText(int index, const char* text) {
    if (!m_hWnd || index < 0 || index >= static_cast<int>(m_panes.size())) return FALSE;
    const WPARAM style = m_panes[index].popOut ? SBT_POPOUT : 0;
    const BOOL set = static_cast<BOOL>(
        SendMessageA(m_hWnd, SB_SETTEXTA, index | style, reinterpret_cast<LPARAM>(text)));
    UpdateWindow(m_hWnd);
    return set;
}

int CStatusBar::PaneWidthFor(const std::vector<std::string>& texts, int least) const {
    if (!m_hWnd) return least;
    ScopedWindowDC dc(m_hWnd);
    auto* font = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    ScopedSelect select(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    std::vector<int> widths;
    for (const std::string& text : texts) {
        SIZE size{};
        GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        widths.push_back(size.cx);
    }
    // The control draws a pane's text inside its edge on both sides, 3 pixels
    // in from the left edge, and leaves a gap before the next pane.
    int borders[3] = {};
    SendMessageA(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    const int margins = 2 * (GetSystemMetrics(SM_CXEDGE) + 3) + borders[2];
    return PaneWidthForTexts(widths, margins, least);
}
