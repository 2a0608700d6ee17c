#include "options/RecordOptionDlg.h"

#include <commctrl.h>

#include <vector>

#include "framework/DataExchangeLists.h"
#include "framework/DataValidation.h"
#include "options/CompressorCatalogue.h"
#include "res/resource.h"
#include "settings/RecordSettings.h"

namespace {

// A compressor opened for querying for the length of one operation.
class QueriedCompressor {
public:
    explicit QueriedCompressor(const ICINFO& entry)
        : m_hic(ICOpen(entry.fccType, entry.fccHandler, ICMODE_QUERY)) {}
    ~QueriedCompressor() {
        if (m_hic) ICClose(m_hic);
    }
    QueriedCompressor(const QueriedCompressor&) = delete;
    QueriedCompressor& operator=(const QueriedCompressor&) = delete;

    bool IsOpen() const { return m_hic != nullptr; }
    // -1 as the first parameter only asks whether there is an about box.
    bool HasAboutBox() const {
        return ICSendMessage(m_hic, ICM_ABOUT, static_cast<DWORD_PTR>(-1), ICMF_ABOUT_QUERY) ==
               ICERR_OK;
    }
    void ShowAboutBox(HWND owner) const {
        ICSendMessage(m_hic, ICM_ABOUT, reinterpret_cast<DWORD_PTR>(owner), 0);
    }

private:
    HIC m_hic;
};

std::string Narrow(const WCHAR* wide) {
    char text[sizeof(ICINFO::szDescription)] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

}  // namespace

CRecordOptionDlg::CRecordOptionDlg(const CompressorCatalogue& catalogue)
    : CDialog(IDD_RECORD_OPTION), m_catalogue(catalogue) {}

void CRecordOptionDlg::DoDataExchange(CDataExchange& dx) {
    DDX_CBIndex(dx, IDC_VIDEO_CODEC, Values.CompressorIndex);
    DDX_Text(dx, IDC_RECORD_INTERVAL, Values.Interval);
    DDV_MinMaxInt(dx, Values.Interval, 20, 10000);
    DDX_Text(dx, IDC_KEY_FRAMES, Values.KeyFrames);
    DDV_MinMaxInt(dx, Values.KeyFrames, 1, 100);
    DDX_Text(dx, IDC_PLAY_RATE, Values.PlayRate);
    DDV_MinMaxInt(dx, Values.PlayRate, 1, 100);
    DDX_Text(dx, IDC_QUALITY_TEXT, QualityText);
}

BOOL CRecordOptionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SendDlgItemMessageA(m_hWnd, IDC_VIDEO_QUALITY, TBM_SETRANGE, FALSE, MAKELPARAM(1, 100));
    SendDlgItemMessageA(m_hWnd, IDC_VIDEO_QUALITY, TBM_SETPOS, TRUE, Values.Quality);
    QualityText = std::to_string(Values.Quality);
    UpdateData(FALSE);
    if (m_catalogue.Count() > 0) FillCompressorList();
    return TRUE;
}

void CRecordOptionDlg::FillCompressorList() {
    std::vector<uint32_t> handlers;
    for (int i = 0; i < m_catalogue.Count(); ++i) {
        const ICINFO& entry = m_catalogue.Entry(i);
        SendDlgItemMessageA(m_hWnd, IDC_VIDEO_CODEC, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(Narrow(entry.szDescription).c_str()));
        handlers.push_back(entry.fccHandler);
    }
    const int position = InitialCompressorPosition(handlers, Values.SelectedHandler);
    Values.SelectedHandler = handlers[position];
    SendDlgItemMessageA(m_hWnd, IDC_VIDEO_CODEC, CB_SETCURSEL, position, 0);
    UpdateCompressorButtons();
}

int CRecordOptionDlg::SelectedPosition() const {
    return static_cast<int>(SendDlgItemMessageA(m_hWnd, IDC_VIDEO_CODEC, CB_GETCURSEL, 0, 0));
}

void CRecordOptionDlg::UpdateCompressorButtons() {
    const int position = SelectedPosition();
    if (position < 0) return;
    const QueriedCompressor compressor(m_catalogue.Entry(position));
    if (!compressor.IsOpen()) return;
    EnableWindow(GetDlgItem(m_hWnd, IDC_CODEC_ABOUT), compressor.HasAboutBox());
}

void CRecordOptionDlg::OnAbout() {
    const int position = SelectedPosition();
    if (position < 0) return;
    const QueriedCompressor compressor(m_catalogue.Entry(position));
    if (compressor.IsOpen()) compressor.ShowAboutBox(m_hWnd);
}

void CRecordOptionDlg::OnSelectionChange() {
    const int position = SelectedPosition();
    if (position >= 0) Values.SelectedHandler = m_catalogue.Entry(position).fccHandler;
    UpdateCompressorButtons();
}

// The edits are validated at every notification, as the framework's dialogs
// do; a failure there does not keep the quality from following the slider.
void CRecordOptionDlg::OnSliderMoved() {
    UpdateData(TRUE);
    Values.Quality =
        static_cast<int>(SendDlgItemMessageA(m_hWnd, IDC_VIDEO_QUALITY, TBM_GETPOS, 0, 0));
    QualityText = std::to_string(Values.Quality);
    UpdateData(FALSE);
}

void CRecordOptionDlg::OnOK() {
    if (UpdateData(TRUE)) CDialog::OnOK();
}

BOOL CRecordOptionDlg::OnCommand(WORD id, WORD code) {
    if (id == IDC_CODEC_ABOUT && code == BN_CLICKED)
        OnAbout();
    else if (id == IDC_VIDEO_CODEC && code == CBN_SELCHANGE)
        OnSelectionChange();
    else
        return FALSE;
    return TRUE;
}

INT_PTR CRecordOptionDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HSCROLL && GetDlgItem(m_hWnd, IDC_VIDEO_QUALITY)) {
        OnSliderMoved();
        return FALSE;  // the platform's default handling follows
    }
    return CDialog::DialogProc(message, wParam, lParam);
}

bool EditRecordOptions(RecordSettings& settings, const CompressorCatalogue& catalogue,
                       ProfileStore& profile, HWND owner) {
    // The slider's class exists only once this has run; it is cheap to repeat.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    CRecordOptionDlg dialog(catalogue);
    dialog.Values = RecordOptionsFrom(settings);
    if (dialog.DoModal(owner) != IDOK) return false;
    StoreRecordOptions(dialog.Values, settings);
    SaveSettings(profile, settings);
    return true;
}
