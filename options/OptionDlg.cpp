#include "options/OptionDlg.h"

#include "framework/DataExchangeControls.h"
#include "options/MouseDownOptionDlg.h"
#include "options/TextOptionDlg.h"
#include "region/MouseCaptureWnd.h"
#include "region/RegionMessage.h"
#include "res/resource.h"

namespace {

// Names a window to the selection window, which reports to a CWnd, without
// owning it. One per process that outlives every dialog: the selection may
// still be on the screen when the dialog that started it has gone, and it
// then finds no window under the name rather than a destroyed object.
class SelectionOwner : public CWnd {
public:
    static SelectionOwner& For(HWND dialog) {
        static SelectionOwner owner;
        owner.m_hWnd = dialog;
        return owner;
    }
    ~SelectionOwner() override { m_hWnd = nullptr; }  // not ours to destroy
};

// The selection shows a still picture of the screen: it starts once the
// windows beneath have repainted where the dialog and its owner were.
constexpr UINT_PTR SelectTimerId = 1;
constexpr UINT RepaintDelayMs = 300;

bool IsRegionChoice(WORD id) {
    return id == IDC_OPTION_REGION_NORMAL || id == IDC_OPTION_REGION_FIXED ||
           id == IDC_OPTION_REGION_FULL || id == IDC_OPTION_REGION_WINDOW;
}

}  // namespace

COptionDlg::COptionDlg(RecordSettings& settings, CMouseCaptureWnd& selection)
    : CDialog(IDD_OPTION), m_settings(settings), m_selection(selection) {}

void COptionDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Check(dx, IDC_OPTION_AUTOPLAY, Options.playAfter);
    DDX_Check(dx, IDC_OPTION_BLINK, Options.blink);
    DDX_Check(dx, IDC_OPTION_MINIMIZE, Options.minimize);
    DDX_Check(dx, IDC_OPTION_CURSOR, Options.cursor);
    DDX_Text(dx, IDC_OPTION_HEIGHT, Options.height);
    DDX_Text(dx, IDC_OPTION_WIDTH, Options.width);
    DDX_Radio(dx, IDC_OPTION_REGION_NORMAL, Options.region);
    DDX_Check(dx, IDC_OPTION_MOUSE_DOWN, Options.mouseClick);
    DDX_Check(dx, IDC_OPTION_AUDIO, Options.audio);
    DDX_Check(dx, IDC_OPTION_TEXT, Options.text);
    DDX_Check(dx, IDC_OPTION_LAYERED, Options.layered);
}

BOOL COptionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    EnableFixedSizeControls(FixedSizeEditable(Options));
    return TRUE;
}

BOOL COptionDlg::OnCommand(WORD id, WORD code) {
    if (code != BN_CLICKED) return FALSE;
    if (IsRegionChoice(id)) {
        OnRegionChoice();
    } else if (id == IDC_OPTION_SELECT) {
        OnSelect();
    } else if (id == IDC_OPTION_MOUSE_DOWN_MORE) {
        CMouseDownOptionDlg(m_settings).DoModal(m_hWnd);
    } else if (id == IDC_OPTION_TEXT_MORE) {
        CTextOptionDlg(m_settings).DoModal(m_hWnd);
    } else if (id == IDC_OPTION_DEFAULT) {
        OnDefault();
    } else {
        return FALSE;
    }
    return TRUE;
}

INT_PTR COptionDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER_REGIONSELECTED) {
        OnRegionSelected(wParam, lParam);
    } else if (message == WM_USER_REGIONCANCELLED) {
        ShowAgain();
    } else if (message == WM_TIMER && wParam == SelectTimerId) {
        OnSelectTimer();
    } else {
        return CDialog::DialogProc(message, wParam, lParam);
    }
    return TRUE;
}

void COptionDlg::EnableFixedSizeControls(bool enable) {
    if (!m_hWnd) return;
    for (int id : {IDC_OPTION_SELECT, IDC_OPTION_WIDTH, IDC_OPTION_HEIGHT})
        EnableWindow(GetDlgItem(m_hWnd, id), enable);
}

void COptionDlg::OnRegionChoice() {
    UpdateData(TRUE);
    EnableFixedSizeControls(FixedSizeEditable(Options));
}

void COptionDlg::OnSelect() {
    const HWND owner = GetWindow(m_hWnd, GW_OWNER);
    m_ownerHidden = owner && IsWindowVisible(owner);
    ShowWindow(m_hWnd, SW_HIDE);
    if (m_ownerHidden) ShowWindow(owner, SW_HIDE);
    SetTimer(m_hWnd, SelectTimerId, RepaintDelayMs, nullptr);
}

void COptionDlg::OnSelectTimer() {
    KillTimer(m_hWnd, SelectTimerId);
    m_selection.StartRubberBand(&SelectionOwner::For(m_hWnd));
}

void COptionDlg::OnRegionSelected(WPARAM wParam, LPARAM lParam) {
    ShowAgain();
    UpdateData(TRUE);
    TakeSelectedSize(Options, UnpackRegion(wParam, static_cast<uint64_t>(lParam)));
    UpdateData(FALSE);
}

void COptionDlg::ShowAgain() {
    if (m_ownerHidden) ShowWindow(GetWindow(m_hWnd, GW_OWNER), SW_SHOWNA);
    m_ownerHidden = false;
    ShowWindow(m_hWnd, SW_SHOW);
    SetForegroundWindow(m_hWnd);
}

void COptionDlg::OnDefault() {
    SetDefaultOptions(Options);
    UpdateData(FALSE);
}

void EditGeneralOptions(RecordSettings& settings, ProfileStore& profile,
                        CMouseCaptureWnd& selection, HWND owner) {
    COptionDlg dialog(settings, selection);
    dialog.Options = OptionsFromSettings(settings);
    if (dialog.DoModal(owner) != IDOK) return;
    ApplyOptions(dialog.Options, settings);
    SaveSettings(profile, settings);
}
