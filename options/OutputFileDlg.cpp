#include "options/OutputFileDlg.h"

#include <commdlg.h>
#include <shlobj.h>

#include "res/resource.h"
#include "settings/RecordSettings.h"

COutputFileDlg::COutputFileDlg() : CDialog(IDD_OUTPUT_FILE) {}

BOOL COutputFileDlg::OnCommand(WORD id, WORD code) {
    if (code != BN_CLICKED) return FALSE;
    if (id == IDC_OUTPUT_BROWSE)
        OnBrowse();
    else if (id == IDC_OUTPUT_DEFAULT)
        OnDefault();
    else
        return FALSE;
    return TRUE;
}

void COutputFileDlg::DoDataExchange(CDataExchange& dx) { DDX_Text(dx, IDC_OUTPUT_PATH, Path); }

void COutputFileDlg::OnBrowse() {
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hWnd;
    ofn.lpstrFilter = "Video Files\0*.avi\0\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = "avi";
    ofn.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_SHOWHELP | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameA(&ofn)) return;
    UpdateData(TRUE);
    Path = file;
    UpdateData(FALSE);
}

void COutputFileDlg::OnDefault() {
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    // Joined as it is: a drive root already ends in a backslash, so there
    // the path has two in a row (C:\\testcap.avi).
    Path = std::string(folder) + "\\testcap.avi";
    UpdateData(FALSE);
}

void EnterOutputFileName(RecordSettings& settings, ProfileStore& profile, HWND owner) {
    COutputFileDlg dialog;
    dialog.Path = settings.SavePath;
    if (dialog.DoModal(owner) == IDOK) settings.SavePath = dialog.Path;
    SaveSettings(profile, settings);
}

std::string FirstRecordingPath() {
    char folder[MAX_PATH] = "";
    if (SHGetFolderPathA(nullptr, CSIDL_MYVIDEO | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                         folder) != S_OK ||
        folder[0] == '\0')
        return "c:\\testcap.avi";
    return std::string(folder) + "\\testcap.avi";
}
