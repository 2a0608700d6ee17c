// The main window: menu, toolbar, status bar and the view's picture; the
// recording controller that turns commands, hotkeys and the recording
// threads' messages into the life of a recording; the tray icon.
#pragma once

#include <windows.h>

#include <cstdint>

#include "frame/GlobalHotkeys.h"
#include "frame/TrayIcon.h"
#include "framework/FrameWnd.h"
#include "framework/ImageList.h"
#include "framework/StatusBar.h"
#include "framework/ToolBar.h"
#include "menu/IconMenu.h"

class CHalvexApp;

class CMainFrame : public CFrameWnd {
public:
    // Recording controller: the Record menu, toolbar and hotkeys.
    void OnRecordStart();
    void OnRecordPause();
    void OnRecordStop();
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
    bool CreateStatusBar();
    void OnDestroy();
    void OnHotKey(WPARAM id);
    void OnHotkeyOptions();
    void OnTrayNotify(WPARAM id, LPARAM mouseMessage);
    bool OnClose();

    // Controller steps (RecordController.cpp).
    void ChooseRegion();
    void OnRegionSelected(WPARAM wParam, LPARAM lParam);
    void OnRecordTimer(UINT_PTR id);
    void StartRecording();
    void OnRecordStatus(WPARAM wParam, LPARAM lParam);
    void OnSaveCursor(WPARAM cursor, LPARAM mouseMessage);
    void OnRecordEnded();
    void OnRecordStartAccepted();
    void PostStatus(int code);
    bool ControllerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    CIconMenu m_menu;  // the records its owner-drawn items point at
    CTrayIcon m_trayIcon;
    CGlobalHotkeys m_hotkeys;
    uint32_t m_pauseStartTime = 0;
    int32_t m_running = 0;
    // Between a start and the recording thread's last message; a start or a
    // close in that time waits for the recording to finish its file.
    bool m_threadsAtWork = false;
    bool m_startHeld = false;
    bool m_closeHeld = false;
    bool m_hookInstalled = false;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CImageList m_hotPictures;
    CImageList m_disabledPictures;
    CImageList m_pictures;
};
