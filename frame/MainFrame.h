// The main window: menu, toolbar, status bar and the view's picture; the
// tray icon and the hotkeys. Its Record commands, hotkeys and the recording
// threads' messages go to the recording controller.
#pragma once

#include <windows.h>

#include "frame/GlobalHotkeys.h"
#include "frame/RecordController.h"
#include "frame/TrayIcon.h"
#include "framework/FrameWnd.h"
#include "framework/ImageList.h"
#include "framework/StatusBar.h"
#include "framework/ToolBar.h"
#include "menu/IconMenu.h"

class CMainFrame : public CFrameWnd {
public:
    explicit CMainFrame(RecorderParts parts);

    const CRecordController& Controller() const { return m_controller; }
    // Replaces the plain menu the frame was made with by the owner-drawn
    // one, with the menu toolbar's pictures.
    void InstallIconMenu();

protected:
    void PreCreateWindow(CREATESTRUCTA& cs) override;
    int OnCreate(CREATESTRUCTA& cs) override;
    bool OnCommand(UINT id) override;
    void OnUpdateCommand(CCmdUI& ui) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool CreateToolBar();
    void LoadToolBarPictures();
    bool CreateStatusBar();
    void SetStatusPanes();
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnDestroy();
    void OnHotKey(WPARAM id);
    void OnHotkeyOptions();
    // message, then a line naming the hotkeys not in force; nothing when all are.
    void ReportHotkeysNotInForce(const char* message);
    void OnTrayNotify(WPARAM id, LPARAM mouseMessage);

    RecordSettings& m_settings;
    const OutputFiles& m_files;
    CIconMenu m_menu;  // the records its owner-drawn items point at
    CTrayIcon m_trayIcon;
    CGlobalHotkeys m_hotkeys;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CImageList m_hotPictures;
    CImageList m_disabledPictures;
    CImageList m_pictures;
    CRecordController m_controller;
    int m_dpi = DefaultDpi;  // the density the window is laid out for
};
