#include "options/MouseDownOptionDlg.h"

#include <commdlg.h>

#include "framework/ScopedHandles.h"
#include "res/resource.h"
#include "settings/RecordSettings.h"

namespace {

// The colour dialog's sixteen custom colours, kept for the session as the
// platform expects.
COLORREF g_customColours[16];

// The swatch over the marker control's place, with the default pen: a black
// one-pixel outline.
void PaintSwatch(HWND dialog, HDC dc, int markerId, HBRUSH brush) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, markerId), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    SelectObject(dc, brush);
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

}  // namespace

CMouseDownOptionDlg::CMouseDownOptionDlg(RecordSettings& settings)
    : CDialog(IDD_MOUSE_DOWN_OPTION), m_settings(settings) {}

BOOL CMouseDownOptionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    LeftColor = m_settings.LeftColor;
    RightColor = m_settings.RightColor;
    return TRUE;
}

void CMouseDownOptionDlg::OnOK() {
    m_settings.LeftColor = LeftColor;
    m_settings.RightColor = RightColor;
    EndDialog(IDOK);
}

BOOL CMouseDownOptionDlg::OnCommand(WORD id, WORD code) {
    if (code != BN_CLICKED) return FALSE;
    if (id == IDC_MOUSEDOWN_LEFT_SET)
        ChooseColour(LeftColor);
    else if (id == IDC_MOUSEDOWN_RIGHT_SET)
        ChooseColour(RightColor);
    else
        return FALSE;
    return TRUE;
}

// Owned by this dialog, so that the dialog waits while the colour is chosen.
void CMouseDownOptionDlg::ChooseColour(uint32_t& colour) {
    CHOOSECOLORA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = m_hWnd;
    choice.rgbResult = colour;
    choice.lpCustColors = g_customColours;
    choice.Flags = CC_RGBINIT;
    if (!ChooseColorA(&choice)) return;
    colour = choice.rgbResult;
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

INT_PTR CMouseDownOptionDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return CDialog::DialogProc(message, wParam, lParam);
    OnPaint();
    return TRUE;
}

void CMouseDownOptionDlg::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    {
        ScopedGdiObject<HBRUSH> left(CreateSolidBrush(LeftColor));
        ScopedGdiObject<HBRUSH> right(CreateSolidBrush(RightColor));
        HGDIOBJ previous = GetCurrentObject(dc, OBJ_BRUSH);
        PaintSwatch(m_hWnd, dc, IDC_MOUSEDOWN_LEFT_SWATCH, left.Get());
        PaintSwatch(m_hWnd, dc, IDC_MOUSEDOWN_RIGHT_SWATCH, right.Get());
        SelectObject(dc, previous);
    }
    EndPaint(m_hWnd, &ps);
}
