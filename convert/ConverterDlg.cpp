#include "convert/ConverterDlg.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include "convert/ConverterResources.h"
#include "third_party/EncoderVersions.h"

namespace {

constexpr UINT WM_CONVERSION_PROGRESS = WM_APP + 1;
constexpr UINT WM_CONVERSION_FINISHED = WM_APP + 2;
constexpr UINT_PTR TimesTimer = 1;
constexpr char Caption[] = "Brantle Converter";

std::string Text(HWND dialog, int id) {
    char text[MAX_PATH * 2] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A file name from the platform's open or save dialog; empty when cancelled.
std::string AskForFile(HWND owner, bool save, const std::string& current) {
    char file[MAX_PATH] = "";
    current.copy(file, MAX_PATH - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = save ? "MP4 films\0*.mp4\0\0" : "AVI recordings\0*.avi\0All files\0*.*\0\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = save ? "mp4" : "avi";
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    return chosen ? std::string(file) : std::string();
}

}  // namespace

std::string ConverterAboutText() {
    return "Brantle Converter 1.80\nTurns recordings (AVI) into MP4 films (H.264 and AAC) that "
           "browsers, phones and players open.\n\n"
           "Brantle's own code: MIT License.\n" BRANTLE_X264_NAME " " BRANTLE_X264_VERSION
           ": " BRANTLE_X264_LICENCE ". The converter links it, so the converter as a whole is "
           "distributed under that licence; its text and the library's exact sources come "
           "with the package.\n" BRANTLE_AACENC_NAME " " BRANTLE_AACENC_VERSION
           ": " BRANTLE_AACENC_LICENCE ".";
}

CConverterDlg::CConverterDlg() : CDialog(IDD_CONVERTER) {}

CConverterDlg::~CConverterDlg() {
    m_cancel = true;
    if (m_worker.joinable()) m_worker.join();
}

BOOL CConverterDlg::OnInitDialog() {
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_CONVERTER))));
    for (const char* name : QualityNames)
        SendDlgItemMessageA(m_hWnd, IDC_QUALITY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendDlgItemMessageA(m_hWnd, IDC_QUALITY, CB_SETCURSEL, static_cast<WPARAM>(ChosenQuality), 0);
    SendDlgItemMessageA(m_hWnd, IDC_PROGRESS, PBM_SETRANGE32, 0, 1000);
    SetDlgItemTextA(m_hWnd, IDC_SOURCE, Source.c_str());
    SetDlgItemTextA(m_hWnd, IDC_OUTPUT, Output.c_str());
    DragAcceptFiles(m_hWnd, TRUE);
    if (ConvertAtOnce) StartConversion();
    return TRUE;
}

void CConverterDlg::SetSource(const std::string& path) {
    SetDlgItemTextA(m_hWnd, IDC_SOURCE, path.c_str());
    SetDlgItemTextA(m_hWnd, IDC_OUTPUT, Mp4PathFor(path).c_str());
    SetState("Press Convert to make the MP4 film.");
}

void CConverterDlg::OnBrowseSource() {
    const std::string path = AskForFile(m_hWnd, false, Text(m_hWnd, IDC_SOURCE));
    if (!path.empty()) SetSource(path);
}

void CConverterDlg::OnBrowseOutput() {
    const std::string path = AskForFile(m_hWnd, true, Text(m_hWnd, IDC_OUTPUT));
    if (!path.empty()) SetDlgItemTextA(m_hWnd, IDC_OUTPUT, path.c_str());
}

void CConverterDlg::OnDropFiles(HDROP drop) {
    char path[MAX_PATH] = "";
    if (!m_busy && DragQueryFileA(drop, 0, path, MAX_PATH)) SetSource(path);
    DragFinish(drop);
}

void CConverterDlg::OnConvert() {
    Source = Text(m_hWnd, IDC_SOURCE);
    Output = Text(m_hWnd, IDC_OUTPUT);
    if (Output.empty() && !Source.empty()) Output = Mp4PathFor(Source);
    if (Source.empty() || !Exists(Source)) {
        MessageBoxA(m_hWnd, (Source + "\nis not there. Choose a recording to convert.").c_str(), Caption,
                    MB_ICONWARNING);
        return;
    }
    if (Exists(Output) && MessageBoxA(m_hWnd, (Output + " already exists.\nDo you want to replace it?").c_str(),
                                      Caption, MB_YESNO | MB_ICONWARNING) != IDYES)
        return;
    ChosenQuality = static_cast<Quality>(SendDlgItemMessageA(m_hWnd, IDC_QUALITY, CB_GETCURSEL, 0, 0));
    StartConversion();
}

void CConverterDlg::StartConversion() {
    SetBusy(true);
    SetState("Converting " + Source + " ...");
    m_cancel = false;
    m_permille = 0;
    m_started = std::chrono::steady_clock::now();
    SetTimer(m_hWnd, TimesTimer, 500, nullptr);
    const ConversionRequest request{Source, Output, ChosenQuality};
    HWND window = m_hWnd;
    m_worker = std::thread([this, request, window] {
        m_result = Convert(request,
                           [this, window](double done) {
                               const int permille = static_cast<int>(done * 1000);
                               if (permille != m_permille.exchange(permille))
                                   PostMessageA(window, WM_CONVERSION_PROGRESS, permille, 0);
                           },
                           m_cancel);
        PostMessageA(window, WM_CONVERSION_FINISHED, 0, 0);
    });
}

void CConverterDlg::OnProgress(int permille) {
    SendDlgItemMessageA(m_hWnd, IDC_PROGRESS, PBM_SETPOS, permille, 0);
}

void CConverterDlg::ShowTimes() {
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
    SetDlgItemTextA(m_hWnd, IDC_TIMES, ProgressTimesText(elapsed, m_permille / 1000.0).c_str());
}

void CConverterDlg::OnFinished() {
    m_worker.join();
    KillTimer(m_hWnd, TimesTimer);
    ShowTimes();
    SetBusy(false);
    m_converted = m_result.done;
    if (m_result.done) {
        OnProgress(1000);
        SetState("Done: " + Output);
        if (ConvertAtOnce) EndDialog(IDOK);
        return;
    }
    OnProgress(0);
    SetState(m_result.cancelled ? "Cancelled: no film was written." : "Not converted.");
    if (!m_result.cancelled)
        MessageBoxA(m_hWnd, ("The recording could not be converted.\n\n" + m_result.message).c_str(), Caption,
                    MB_ICONWARNING);
    if (ConvertAtOnce) EndDialog(IDCANCEL);
}

void CConverterDlg::SetBusy(bool busy) {
    m_busy = busy;
    for (const int id : {IDC_SOURCE, IDC_SOURCE_BROWSE, IDC_OUTPUT, IDC_OUTPUT_BROWSE, IDC_QUALITY, IDC_CONVERT})
        EnableWindow(GetDlgItem(m_hWnd, id), !busy);
    const bool done = !busy && m_result.done;
    EnableWindow(GetDlgItem(m_hWnd, IDC_PLAY), done);
    EnableWindow(GetDlgItem(m_hWnd, IDC_OPEN_FOLDER), done);
    SetDlgItemTextA(m_hWnd, IDCANCEL, busy ? "Cancel" : "Close");
}

void CConverterDlg::SetState(const std::string& text) { SetDlgItemTextA(m_hWnd, IDC_STATE, text.c_str()); }

void CConverterDlg::OnCancel() {
    if (m_busy) {
        m_cancel = true;  // the end of the conversion follows
        SetState("Cancelling ...");
        return;
    }
    CDialog::OnCancel();
}

BOOL CConverterDlg::OnCommand(WORD id, WORD code) {
    if (code != BN_CLICKED) return FALSE;
    switch (id) {
        case IDC_SOURCE_BROWSE:
            OnBrowseSource();
            return TRUE;
        case IDC_OUTPUT_BROWSE:
            OnBrowseOutput();
            return TRUE;
        case IDC_CONVERT:
            OnConvert();
            return TRUE;
        case IDC_PLAY:
            ShellExecuteA(m_hWnd, "open", Output.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            return TRUE;
        case IDC_OPEN_FOLDER:
            ShellExecuteA(m_hWnd, "open", "explorer.exe", ("/select,\"" + Output + "\"").c_str(),
                          nullptr, SW_SHOWNORMAL);
            return TRUE;
        case IDC_ABOUT:
            MessageBoxA(m_hWnd, ConverterAboutText().c_str(), "About Brantle Converter", MB_OK);
            return TRUE;
    }
    return FALSE;
}

INT_PTR CConverterDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CONVERSION_PROGRESS:
            OnProgress(static_cast<int>(wParam));
            return TRUE;
        case WM_CONVERSION_FINISHED:
            OnFinished();
            return TRUE;
        case WM_TIMER:
            if (wParam == TimesTimer) ShowTimes();
            return TRUE;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return TRUE;
    }
    return CDialog::DialogProc(message, wParam, lParam);
}
