// A list box control of a dialog, tied to its window by DDX_Control.
#pragma once

#include <windows.h>

class CListBox {
public:
    void Attach(HWND box) { m_hWnd = box; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The new item's position, or LB_ERR.
    int AddString(const char* text) {
        return Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    int SetItemData(int index, DWORD_PTR data) {
        return Send(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
    }
    // LB_ERR for a position that holds no item.
    LRESULT GetItemData(int index) const {
        return SendMessageA(m_hWnd, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    }
    // The selected position, or LB_ERR when none is selected.
    int GetCurSel() const { return Send(LB_GETCURSEL, 0, 0); }
    // -1 selects nothing.
    int SetCurSel(int index) { return Send(LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

private:
    int Send(UINT message, WPARAM wParam, LPARAM lParam) const {
        return static_cast<int>(SendMessageA(m_hWnd, message, wParam, lParam));
    }

    HWND m_hWnd = nullptr;
};
