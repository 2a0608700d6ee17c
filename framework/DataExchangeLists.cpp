#include "framework/DataExchangeLists.h"

void DDX_CBIndex(CDataExchange& dx, int id, int& index) {
    if (!dx.PrepareControl(id)) return;
    HWND combo = GetDlgItem(dx.Dialog(), id);
    if (dx.SaveAndValidate())
        index = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    else
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_Control(CDataExchange& dx, int id, CListBox& control) {
    if (!dx.PrepareControl(id)) return;
    control.Attach(GetDlgItem(dx.Dialog(), id));
}
