#include "options/AudioOptionsDlg.h"

#include "framework/DataExchangeLists.h"
#include "options/AudioFormatCatalogue.h"
#include "res/resource.h"
#include "settings/RecordSettings.h"

CAudioOptionsDlg::CAudioOptionsDlg(const SupportedFormats& supported)
    : CDialog(IDD_AUDIO_OPTIONS), m_supported(supported) {}

void CAudioOptionsDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, IDC_AUDIO_FORMATS, FormatList);
}

BOOL CAudioOptionsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    int chosenItem = -1;
    for (int i = 0; i < CandidateCount; ++i) {
        if (!m_supported[i]) continue;
        PcmFormat format;
        MakeCandidateFormat(i, format);
        const int item = FormatList.AddString(FormatLabel(format).c_str());
        FormatList.SetItemData(item, static_cast<DWORD_PTR>(i));
        if (i == ChosenIndex) chosenItem = item;
    }
    FormatList.SetCurSel(chosenItem);
    return TRUE;
}

void CAudioOptionsDlg::OnOK() {
    // With nothing selected both calls give LB_ERR, which is -1: no format.
    ChosenIndex = static_cast<int>(FormatList.GetItemData(FormatList.GetCurSel()));
    CDialog::OnOK();
}

bool EditAudioFormat(RecordSettings& settings, const SupportedFormats& supported,
                     ProfileStore& profile, HWND owner) {
    CAudioOptionsDlg dialog(supported);
    // A stored choice the device cannot capture in is not what recordings
    // use: start-up fell back to another candidate, so that one is shown and
    // kept by OK, instead of a choice of none that would silence them.
    dialog.ChosenIndex = StartupCandidate(supported, settings.AudioFormat);
    if (dialog.DoModal(owner) != IDOK) return false;
    SelectCaptureFormat(dialog.ChosenIndex, settings, profile);
    return true;
}
