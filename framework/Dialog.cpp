#include "framework/Dialog.h"

#include <vector>

#include "framework/IntegerText.h"
#include "framework/WinApp.h"

namespace {

std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1);
    GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    return text.data();
}

}  // namespace

bool CDataExchange::PrepareControl(int id) {
    if (m_failed) return false;
    m_control = id;
    return true;
}

void CDataExchange::Fail(const char* message) {
    CWinApp* app = AfxGetApp();
    MessageBoxA(m_dialog, message, app ? app->AppTitle().c_str() : nullptr,
                MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(m_dialog, m_control));
    m_failed = true;
}

void DDX_Text(CDataExchange& dx, int id, std::string& value) {
    if (!dx.PrepareControl(id)) return;
    if (dx.SaveAndValidate())
        value = ControlText(dx.Dialog(), id);
    else
        SetDlgItemTextA(dx.Dialog(), id, value.c_str());
}

void DDX_Text(CDataExchange& dx, int id, int& value) {
    if (!dx.PrepareControl(id)) return;
    if (!dx.SaveAndValidate()) {
        SetDlgItemTextA(dx.Dialog(), id, std::to_string(value).c_str());
        return;
    }
    if (!ParseInteger(ControlText(dx.Dialog(), id).c_str(), value))
        dx.Fail("Please enter an integer.");
}

INT_PTR CDialog::DoModal(HWND parent) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), parent,
                           &CDialog::DispatchMessageToObject, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(m_hWnd, saveAndValidate != FALSE);
    DoDataExchange(dx);
    return dx.Failed() ? FALSE : TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnCommand(WORD, WORD) { return FALSE; }

void CDialog::DoDataExchange(CDataExchange&) {}

INT_PTR CDialog::DialogProc(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return OnInitDialog();
    if (message != WM_COMMAND) return FALSE;
    const WORD id = LOWORD(wParam), code = HIWORD(wParam);
    if (id == IDOK && code == BN_CLICKED) {
        OnOK();
        return TRUE;
    }
    if (id == IDCANCEL && code == BN_CLICKED) {
        OnCancel();
        return TRUE;
    }
    return OnCommand(id, code);
}

INT_PTR CALLBACK CDialog::DispatchMessageToObject(HWND wnd, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_hWnd = wnd;
        SetWindowLongPtrA(wnd, DWLP_USER, lParam);
    }
    // Messages before WM_INITDIALOG (the font, the sizes) go to the platform.
    auto* object = reinterpret_cast<CDialog*>(GetWindowLongPtrA(wnd, DWLP_USER));
    if (object == nullptr) return FALSE;
    const INT_PTR result = object->DialogProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(wnd, DWLP_USER, 0);
        object->m_hWnd = nullptr;
    }
    return result;
}
