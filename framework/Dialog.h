// Modal dialogs made from a dialog template resource. The object is tied to
// its window at WM_INITDIALOG; data exchange copies members to the controls
// and, when saving, back with validation.
#pragma once

#include <windows.h>

#include <string>

// One pass of data exchange between a dialog's controls and its object. The
// exchange helpers name the control they work on first; the first failure
// ends the pass, and every helper after it does nothing.
class CDataExchange {
public:
    CDataExchange(HWND dialog, bool saveAndValidate)
        : m_dialog(dialog), m_saveAndValidate(saveAndValidate) {}

    bool SaveAndValidate() const { return m_saveAndValidate; }
    bool Failed() const { return m_failed; }
    HWND Dialog() const { return m_dialog; }

    // Makes this control the one a failure is about; false once the pass has failed.
    bool PrepareControl(int id);

    // Tells the user what is wrong (owned by the dialog), puts the focus on
    // the prepared control and fails the pass.
    void Fail(const char* message);

private:
    HWND m_dialog;
    bool m_saveAndValidate;
    int m_control = 0;
    bool m_failed = false;
};

// An edit control's text, taken as it is.
void DDX_Text(CDataExchange& dx, int id, std::string& value);
// An edit control's text as a decimal integer; when saving, other text fails the pass.
void DDX_Text(CDataExchange& dx, int id, int& value);

class CDialog {
public:
    explicit CDialog(UINT templateId) : m_templateId(templateId) {}
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog until EndDialog; its result, or -1 when it cannot be made.
    INT_PTR DoModal(HWND parent);
    // FALSE: members to controls; TRUE: controls to members, FALSE on failure.
    BOOL UpdateData(BOOL saveAndValidate);
    HWND GetSafeHwnd() const { return m_hWnd; }
    void EndDialog(int result) { ::EndDialog(m_hWnd, result); }

protected:
    // Default: shows the members; TRUE lets the platform place the focus.
    virtual BOOL OnInitDialog();
    // Default: takes the controls' data; the dialog ends only if that works.
    virtual void OnOK();
    // Default: ends the dialog; nothing is taken from the controls.
    virtual void OnCancel();
    // Other commands from controls; TRUE when handled.
    virtual BOOL OnCommand(WORD id, WORD code);
    virtual void DoDataExchange(CDataExchange& dx);
    // Called for every message once the window is tied to the object; routes
    // the initialisation and commands. Returns TRUE when the message was
    // handled, as a dialog procedure does.
    virtual INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK DispatchMessageToObject(HWND wnd, UINT message, WPARAM wParam,
                                                    LPARAM lParam);

    UINT m_templateId;
};
