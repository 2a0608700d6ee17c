// Base of the program's windows: it ties the platform window to its object
// when the window is created and hands every message to WindowProc, which
// derived classes override to unpack the messages they handle.
#pragma once

#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x,
                  int y, int width, int height, HWND parent, HMENU idOrMenu, void* param = nullptr);
    BOOL DestroyWindow();
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    HWND GetSafeHwnd() const { return m_hWnd; }

protected:
    // Called for every message; the default passes it to the platform.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;

private:
    friend const char* AfxRegisterWndClass(UINT, HCURSOR, HBRUSH, HICON);
    static LRESULT CALLBACK DispatchMessageToObject(HWND wnd, UINT message, WPARAM wParam,
                                                    LPARAM lParam);
};

// Registers (once per distinct set of attributes) a window class whose
// windows dispatch to CWnd objects, and returns its name. The name stays
// valid for the life of the process.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                HBRUSH background = nullptr, HICON icon = nullptr);
