#include "frame/MainFrame.h"

#include <iterator>

#include "engine/RecordingState.h"
#include "frame/ControllerRules.h"
#include "frame/ShellCommands.h"
#include "frame/ToolBarPictures.h"
#include "framework/Dpi.h"
#include "framework/WinApp.h"
#include "options/HotKeyOptionsDlg.h"
#include "res/resource.h"

namespace {

// Sizes at 96 dots per inch; the window scales them to its density.
constexpr int FrameWidth = 480, FrameHeight = 360;
// Pane widths: prompts; the recording's state (at least); seconds and frames.
constexpr int PromptPaneWidth = 120, StatePaneLeast = 80, ProgressPaneLeast = 50;

void CentreOnScreen(HWND wnd) {
    RECT work{}, window{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(wnd, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    SetWindowPos(wnd, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CMainFrame::CMainFrame(RecorderParts parts)
    : m_settings(parts.settings),
      m_files(parts.files),
      m_controller(*this, parts, m_trayIcon, m_wndStatusBar) {}

void CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    // Made on the primary monitor first, at the system's density.
    const int dpi = SystemDpi();
    cs.cx = ScaleForDpi(FrameWidth, dpi);
    cs.cy = ScaleForDpi(FrameHeight, dpi);
    cs.style &= ~(WS_THICKFRAME | WS_MAXIMIZEBOX);
}

bool CMainFrame::CreateToolBar() {
    if (!m_wndToolBar.CreateEx(m_hWnd, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CCS_TOP | TBSTYLE_TOOLTIPS, AfxIdwToolBar) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME, m_dpi))
        return false;
    LoadToolBarPictures();
    return true;
}

void CMainFrame::LoadToolBarPictures() {
    m_pictures.Attach(LoadPictureList(IDB_TOOLBAR_NORMAL, ToolBarPictures, m_dpi));
    m_hotPictures.Attach(LoadPictureList(IDB_TOOLBAR_HOT, ToolBarPictures, m_dpi));
    m_disabledPictures.Attach(LoadPictureList(IDB_TOOLBAR_DISABLED, ToolBarPictures, m_dpi));
    m_wndToolBar.SetImageList(TB_SETIMAGELIST, m_pictures.GetSafeHandle());
    m_wndToolBar.SetImageList(TB_SETHOTIMAGELIST, m_hotPictures.GetSafeHandle());
    m_wndToolBar.SetImageList(TB_SETDISABLEDIMAGELIST, m_disabledPictures.GetSafeHandle());
}

bool CMainFrame::CreateStatusBar() {
    if (!m_wndStatusBar.Create(m_hWnd, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, AfxIdwStatusBar))
        return false;
    SetStatusPanes();
    SetMessageText(LoadResourceString(AfxIdsIdleMessage).c_str());
    return true;
}

void CMainFrame::SetStatusPanes() {
    const int stateWidth = m_wndStatusBar.PaneWidthFor(
        {std::begin(RecordingStateTexts), std::end(RecordingStateTexts)},
        ScaleForDpi(StatePaneLeast, m_dpi));
    m_wndStatusBar.SetPanes({{ScaleForDpi(PromptPaneWidth, m_dpi), false, false},
                             {stateWidth, false, false},
                             {ScaleForDpi(ProgressPaneLeast, m_dpi), true, true}});
}

// The window moved to a monitor of another density (Windows 10 and later):
// its bars and pictures are laid out again and it takes the size offered.
void CMainFrame::OnDpiChanged(int dpi, const RECT& suggested) {
    m_dpi = dpi;
    m_wndToolBar.ScaleButtons(IDR_MAINFRAME, m_dpi);
    LoadToolBarPictures();
    SetStatusPanes();
    ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

int CMainFrame::OnCreate(CREATESTRUCTA&) {
    m_dpi = WindowDpi(m_hWnd);
    if (!CreateToolBar() || !CreateStatusBar()) return -1;
    m_hotkeys.AddAtoms();
    m_hotkeys.Register(m_hWnd, m_settings);
    ReportHotkeysNotInForce("Failed to set hotkey!");
    m_trayIcon.Add(m_hWnd);
    CentreOnScreen(m_hWnd);
    return 0;
}

void CMainFrame::InstallIconMenu() {
    if (!m_menu.LoadMenu(IDR_MAINFRAME)) return;
    m_menu.LoadToolbar(IDR_MENU_PICTURES);
    HMENU plain = GetMenu(m_hWnd);
    SetMenu(m_hWnd, m_menu.Detach());
    if (plain) DestroyMenu(plain);
    DrawMenuBar(m_hWnd);
}

void CMainFrame::OnDestroy() {
    m_hotkeys.Unregister(m_hWnd);
    m_trayIcon.Remove();
}

void CMainFrame::OnHotKey(WPARAM id) {
    switch (m_hotkeys.ActionFor(id)) {
        case CGlobalHotkeys::Action::Start:
            m_controller.Start();
            break;
        case CGlobalHotkeys::Action::Stop:
            m_controller.Stop();
            break;
        case CGlobalHotkeys::Action::Pause:
            m_controller.Pause();
            break;
        case CGlobalHotkeys::Action::None:
            break;
    }
}

// While the dialog is open the hotkeys are released, so that their keys can
// be typed into it instead of starting a recording.
void CMainFrame::OnHotkeyOptions() {
    m_hotkeys.Unregister(m_hWnd);
    const bool changed = EditHotkeys(m_settings, m_hWnd, m_hotkeys.InForce());
    m_hotkeys.Register(m_hWnd, m_settings);
    if (changed) ReportHotkeysNotInForce("Fail to set hotkey!");
}

void CMainFrame::ReportHotkeysNotInForce(const char* message) {
    const std::string names = HotkeysNotInForce(m_settings, m_hotkeys.InForce());
    if (names.empty()) return;
    AfxMessageBox((std::string(message) + "\n\nNot set: " + names).c_str(), MB_OK);
}

void CMainFrame::OnTrayNotify(WPARAM id, LPARAM mouseMessage) {
    if (id != TrayIconId || (mouseMessage != WM_LBUTTONDOWN && mouseMessage != WM_RBUTTONDOWN))
        return;
    if (!IsWindowVisible(m_hWnd)) ShowWindow(SW_SHOW);
    SetForegroundWindow(m_hWnd);
}

bool CMainFrame::OnCommand(UINT id) {
    switch (id) {
        case ID_RECORD_START:
            m_controller.Start();
            return true;
        case ID_RECORD_PAUSE:
            m_controller.Pause();
            return true;
        case ID_RECORD_STOP:
            m_controller.Stop();
            return true;
        case ID_RECORD_PLAY:
            PlayRecordedFile(m_hWnd, m_files.Recorded(m_settings.SavePath));
            return true;
        case ID_HELP_CONTENTS:
            OpenHelpContents();
            return true;
        case ID_HELP_WEBSITE:
            OpenWebsite();
            return true;
        case ID_OPTIONS_HOTKEY:
            OnHotkeyOptions();
            return true;
        default:
            return CFrameWnd::OnCommand(id);
    }
}

void CMainFrame::OnUpdateCommand(CCmdUI& ui) {
    const bool active = TheRecordingState.RecordingActive != 0;
    switch (ui.m_nID) {
        case ID_RECORD_START:
            ui.Enable(!m_controller.Running());
            break;
        case ID_RECORD_PAUSE:
            ui.Enable(active && m_controller.Running());
            break;
        case ID_RECORD_PLAY:
            ui.Enable(!active);
            break;
        default:
            CFrameWnd::OnUpdateCommand(ui);
    }
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (m_controller.OnMessage(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) != SC_MINIMIZE) break;
            ShowWindow(SW_HIDE);
            return 0;
        case WM_USER_TRAYNOTIFY:
            OnTrayNotify(wParam, lParam);
            return 0;
        case WM_HOTKEY:
            OnHotKey(wParam);
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            if (!m_controller.MayClose()) return 0;
            break;
        case WM_DESTROY:
            OnDestroy();
            break;
        case WM_SIZE:
            CFrameWnd::WindowProc(message, wParam, lParam);
            m_wndStatusBar.LayoutPanes();
            return 0;
        case WM_MEASUREITEM:
            if (auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
                item->CtlType == ODT_MENU) {
                m_menu.MeasureItem(*item);
                return TRUE;
            }
            break;
        case WM_DRAWITEM:
            if (auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam); item->CtlType == ODT_MENU) {
                m_menu.DrawItem(*item);
                return TRUE;
            }
            break;
        case WM_MENUCHAR:
            if (m_menu.MenuChar(LOWORD(wParam), reinterpret_cast<HMENU>(lParam), result))
                return result;
            break;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}
