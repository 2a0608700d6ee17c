#include "framework/FrameWnd.h"

#include <commctrl.h>

#include "framework/CommandStrings.h"
#include "framework/WinApp.h"

namespace {

HWND Child(HWND frame, UINT id) { return GetDlgItem(frame, static_cast<int>(id)); }

bool IsVisibleChild(HWND child) { return child && (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE); }

}  // namespace

std::string LoadResourceString(UINT id) {
    char text[512];
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
}

BOOL CFrameWnd::LoadFrame(UINT resourceId) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(resourceId));
    const char* className =
        AfxRegisterWndClass(CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), nullptr, icon);
    const std::string title = CommandPrompt(LoadResourceString(resourceId));

    CREATESTRUCTA cs{};
    cs.style = WS_OVERLAPPEDWINDOW;
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    PreCreateWindow(cs);
    m_accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(resourceId));
    return CreateEx(cs.dwExStyle, className, title.c_str(), cs.style, cs.x, cs.y, cs.cx, cs.cy,
                    nullptr, LoadMenuA(instance, MAKEINTRESOURCEA(resourceId)));
}

void CFrameWnd::PreCreateWindow(CREATESTRUCTA&) {}

int CFrameWnd::OnCreate(CREATESTRUCTA&) { return 0; }

void CFrameWnd::RecalcLayout() {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    HWND toolbar = Child(m_hWnd, AfxIdwToolBar);
    if (IsVisibleChild(toolbar)) {
        SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
        RECT bar{};
        GetWindowRect(toolbar, &bar);
        client.top += bar.bottom - bar.top;
    }
    HWND status = Child(m_hWnd, AfxIdwStatusBar);
    if (IsVisibleChild(status)) {
        SendMessageA(status, WM_SIZE, 0, 0);
        RECT bar{};
        GetWindowRect(status, &bar);
        client.bottom -= bar.bottom - bar.top;
    }
    if (HWND view = Child(m_hWnd, AfxIdwPaneFirst))
        MoveWindow(view, client.left, client.top, client.right - client.left,
                   client.bottom - client.top, TRUE);
}

void CFrameWnd::SetMessageText(const char* text) {
    if (HWND status = Child(m_hWnd, AfxIdwStatusBar))
        SendMessageA(status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

void CFrameWnd::UpdateToolBarButtons() {
    HWND toolbar = Child(m_hWnd, AfxIdwToolBar);
    if (!IsVisibleChild(toolbar)) return;
    const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & BTNS_SEP) continue;
        CCmdUI ui(static_cast<UINT>(button.idCommand));
        UpdateCommand(ui);
        BYTE state = button.fsState & ~(TBSTATE_ENABLED | TBSTATE_CHECKED);
        if (ui.enabled) state |= TBSTATE_ENABLED;
        if (ui.checked) state |= TBSTATE_CHECKED;
        if (state != button.fsState)
            SendMessageA(toolbar, TB_SETSTATE, button.idCommand, MAKELPARAM(state, 0));
    }
}

bool CFrameWnd::RouteCommand(UINT id) {
    CCmdUI ui(id);
    UpdateCommand(ui);
    if (!ui.enabled) return true;
    if (OnCommand(id)) return true;
    CWinApp* app = AfxGetApp();
    return app && app->OnCommand(id);
}

void CFrameWnd::UpdateCommand(CCmdUI& ui) {
    OnUpdateCommand(ui);
    if (CWinApp* app = AfxGetApp()) app->OnUpdateCommand(ui);
}

bool CFrameWnd::OnCommand(UINT id) {
    if (id != AfxIdwToolBar && id != AfxIdwStatusBar) return false;
    ToggleBar(id);
    return true;
}

void CFrameWnd::OnUpdateCommand(CCmdUI& ui) {
    if (ui.m_nID == AfxIdwToolBar || ui.m_nID == AfxIdwStatusBar)
        ui.SetCheck(IsVisibleChild(Child(m_hWnd, ui.m_nID)));
}

void CFrameWnd::ToggleBar(UINT id) {
    HWND bar = Child(m_hWnd, id);
    if (!bar) return;
    ::ShowWindow(bar, IsVisibleChild(bar) ? SW_HIDE : SW_SHOW);
    RecalcLayout();
}

void CFrameWnd::OnInitMenuPopup(HMENU popup) {
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or submenu
        CCmdUI ui(id);
        UpdateCommand(ui);
        EnableMenuItem(popup, i, MF_BYPOSITION | (ui.enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(popup, i, MF_BYPOSITION | (ui.checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CFrameWnd::SetIdleMessage(const std::string& text) {
    m_idleText = text;
    ShowPrompt(0);
}

void CFrameWnd::ShowPrompt(UINT command) {
    std::string text;
    if (command)
        text = CommandPrompt(LoadResourceString(command));
    else
        text = m_idleText.empty() ? LoadResourceString(AfxIdsIdleMessage) : m_idleText;
    SetMessageText(text.c_str());
}

void CFrameWnd::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    const bool closed = flags == 0xFFFF && menu == nullptr;
    const bool command = !(flags & (MF_POPUP | MF_SEPARATOR)) && !closed;
    ShowPrompt(command ? item : 0);
}

LRESULT CFrameWnd::OnNotify(NMHDR* header) {
    switch (header->code) {
        case TTN_GETDISPINFOA: {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
            m_tipText = CommandTip(LoadResourceString(static_cast<UINT>(header->idFrom)));
            info->lpszText = const_cast<char*>(m_tipText.c_str());
            return 0;
        }
        case TBN_HOTITEMCHANGE: {
            auto* change = reinterpret_cast<NMTBHOTITEM*>(header);
            ShowPrompt(change->dwFlags & HICF_LEAVING ? 0 : static_cast<UINT>(change->idNew));
            return 0;
        }
        default:
            return 0;
    }
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(*reinterpret_cast<CREATESTRUCTA*>(lParam));
        case WM_SIZE:
            RecalcLayout();
            return 0;
        case WM_COMMAND:
            if (RouteCommand(LOWORD(wParam))) return 0;
            break;
        case WM_INITMENUPOPUP:
            OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_MENUSELECT:
            OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
            return 0;
        case WM_EXITMENULOOP:
            ShowPrompt(0);
            return 0;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_NCDESTROY:
            if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) PostQuitMessage(0);
            break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
