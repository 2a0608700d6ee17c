#include "options/OutputFileDlg.h"

#include <commdlg.h>
#include <shlobj.h>

#include "engine/Mp4Recording.h"
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
    ofn.lpstrFilter = Mp4 ? "MP4 Video Files\0*.mp4\0\0" : "Video Files\0*.avi\0\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = Mp4 ? "mp4" : "avi";
    // A recording makes a new file, so the name need not exist; the save
    // dialog asks about one that does.
    ofn.Flags = OFN_EXPLORER | OFN_SHOWHELP | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameA(&ofn)) return;
    UpdateData(TRUE);
    Path = file;
    m_browsedAgreed = Path;
    UpdateData(FALSE);
}

void COutputFileDlg::OnOK() {
    UpdateData(TRUE);
    ReplaceAgreed.clear();
    if (!Path.empty() && FileIsThere(Path)) {
        if (Path != m_browsedAgreed) {
            const std::string question = Path + " already exists.\nDo you want to replace it?";
            if (MessageBoxA(m_hWnd, question.c_str(), "Set output file",
                            MB_YESNO | MB_ICONWARNING) != IDYES)
                return;  // the dialog stays for another name
        }
        ReplaceAgreed = Path;
    }
    CDialog::OnOK();
}

void COutputFileDlg::OnDefault() {
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    // Joined as it is: a drive root already ends in a backslash, so there
    // the path has two in a row (C:\\testcap.avi).
    Path = WithContainerExtension(std::string(folder) + "\\testcap.avi", Mp4);
    UpdateData(FALSE);
}

bool EnterOutputFileName(RecordSettings& settings, ProfileStore& profile, OutputFiles& files,
                         HWND owner, const std::string& offered) {
    COutputFileDlg dialog;
    dialog.Mp4 = IsH264Mp4Handler(settings.CurCompressorHandler);
    // The name shown is the one the next recording takes.
    dialog.Path = WithContainerExtension(offered.empty() ? settings.SavePath : offered, dialog.Mp4);
    const bool confirmed = dialog.DoModal(owner) == IDOK;
    if (confirmed) {
        settings.SavePath = dialog.Path;
        files.replaceAgreed = dialog.ReplaceAgreed;
    }
    SaveSettings(profile, settings);
    return confirmed && !settings.SavePath.empty();
}

bool FileIsThere(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FirstRecordingPath() {
    char folder[MAX_PATH] = "";
    if (SHGetFolderPathA(nullptr, CSIDL_MYVIDEO | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                         folder) != S_OK ||
        folder[0] == '\0')
        return "c:\\testcap.avi";
    return std::string(folder) + "\\testcap.avi";
}
