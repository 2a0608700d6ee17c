#include "framework/DataExchangeControls.h"

namespace {

bool IsRadioButton(HWND control) {
    return (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

bool StartsGroup(HWND control) { return (GetWindowLongA(control, GWL_STYLE) & WS_GROUP) != 0; }

}  // namespace

void DDX_Check(CDataExchange& dx, int id, int& value) {
    if (!dx.PrepareControl(id)) return;
    if (dx.SaveAndValidate())
        value = static_cast<int>(IsDlgButtonChecked(dx.Dialog(), id));
    else
        CheckDlgButton(dx.Dialog(), id, static_cast<UINT>(value));
}

void DDX_Radio(CDataExchange& dx, int firstId, int& value) {
    if (!dx.PrepareControl(firstId)) return;
    HWND control = GetDlgItem(dx.Dialog(), firstId);
    if (dx.SaveAndValidate()) value = -1;
    int position = 0;
    do {
        if (IsRadioButton(control)) {
            if (!dx.SaveAndValidate())
                SendMessageA(control, BM_SETCHECK, position == value ? BST_CHECKED : BST_UNCHECKED,
                             0);
            else if (SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = position;
            ++position;
        }
        control = GetWindow(control, GW_HWNDNEXT);
    } while (control && !StartsGroup(control));
}
