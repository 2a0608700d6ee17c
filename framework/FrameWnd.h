// The main frame: a top-level window with menu, accelerators, an optional
// toolbar (child id AFX_IDW_TOOLBAR) at the top and status bar
// (AFX_IDW_STATUS_BAR) at the bottom, and a view (AFX_IDW_PANE_FIRST) in the
// rest. Commands go to the frame first, then to the application object;
// menu items and toolbar buttons show the state their update handlers give.
#pragma once

#include <windows.h>

#include <string>

#include "framework/CmdUI.h"
#include "framework/Wnd.h"

constexpr UINT AfxIdwToolBar = 59392;
constexpr UINT AfxIdwStatusBar = 59393;
constexpr UINT AfxIdwPaneFirst = 59648;
constexpr UINT AfxIdsIdleMessage = 57345;

class CFrameWnd : public CWnd {
public:
    // Creates the window with the menu, icon and accelerators of resourceId
    // and, as its title, the first field of the string resourceId.
    BOOL LoadFrame(UINT resourceId);
    HACCEL Accelerators() const { return m_accelerators; }

    // Places toolbar, status bar and view in the client area.
    void RecalcLayout();
    // Text of the status bar's first pane.
    void SetMessageText(const char* text);
    // What the first pane shows when no menu prompt is up; empty gives back
    // the resource's idle text.
    void SetIdleMessage(const std::string& text);
    // Refreshes the toolbar buttons from the update handlers.
    void UpdateToolBarButtons();

    // Runs a command if its update handler leaves it enabled; true if
    // someone handled it.
    bool RouteCommand(UINT id);
    void UpdateCommand(CCmdUI& ui);

protected:
    virtual void PreCreateWindow(CREATESTRUCTA& cs);
    // Returns -1 to refuse the window.
    virtual int OnCreate(CREATESTRUCTA& cs);
    virtual bool OnCommand(UINT id);
    virtual void OnUpdateCommand(CCmdUI& ui);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInitMenuPopup(HMENU popup);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    LRESULT OnNotify(NMHDR* header);
    void ShowPrompt(UINT command);
    void ToggleBar(UINT id);

    HACCEL m_accelerators = nullptr;
    std::string m_tipText;  // the tooltip being shown
    std::string m_idleText;
};

// The string resource id, or empty.
std::string LoadResourceString(UINT id);
