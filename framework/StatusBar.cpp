#include "framework/StatusBar.h"

#include <commctrl.h>

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
