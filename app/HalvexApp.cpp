#include "app/HalvexApp.h"

#include <commctrl.h>

#include <memory>

#include "codecs/BuiltInCompressors.h"
#include "engine/FlashingWnd.h"
#include "engine/RecordingState.h"
#include "frame/AboutDlg.h"
#include "frame/HalvexDoc.h"
#include "frame/HalvexView.h"
#include "frame/MainFrame.h"
#include "frame/ShellCommands.h"
#include "options/AudioCaptureDevice.h"
#include "options/AudioOptionsDlg.h"
#include "options/OptionDlg.h"
#include "options/OutputFileDlg.h"
#include "options/RecordOptionDlg.h"
#include "res/resource.h"

BOOL CHalvexApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);
    if (ActivateRunningInstance()) return FALSE;

    SetRegistryKey("Local AppWizard-Generated Applications");
    LoadSettings(*this, Settings);
    // The built-in compressors first, so the catalogue lists them.
    InstallBuiltInCompressors();
    Compressors.Build(Settings);
    Audio.Build(Settings);
    CreateHiddenWindows();

    if (!CreateMainWindow()) return FALSE;

    HWND main = m_pMainWnd->GetSafeHwnd();
    ::ShowWindow(main, SW_SHOW);
    UpdateWindow(main);
    return TRUE;
}

bool CHalvexApp::CreateMainWindow() {
    const RecorderParts parts{Settings, Compressors, MouseCaptureWnd, *this, Files};
    AddDocTemplate(std::make_unique<CSingleDocTemplate>(
        IDR_MAINFRAME, [] { return std::make_unique<CHalvexDoc>(); },
        [parts] { return std::make_unique<CMainFrame>(parts); },
        [] { return std::make_unique<CHalvexView>(); }));
    if (!ProcessShellCommand()) return false;
    static_cast<CMainFrame*>(m_pMainWnd)->InstallIconMenu();
    SetWindowTextA(m_pMainWnd->GetSafeHwnd(), MainWindowTitle);
    return true;
}

// The named event marks a running instance; a second one brings the first
// one's window up and ends. The handle stays open for the life of the process.
bool CHalvexApp::ActivateRunningInstance() {
    SetLastError(0);
    CreateEventA(nullptr, TRUE, FALSE, "Desktop Window Capture!");
    if (GetLastError() == 0) return false;
    if (HWND running = FindWindowA(nullptr, MainWindowTitle)) {
        ::ShowWindow(running, SW_SHOW);
        SetForegroundWindow(running);
    }
    return true;
}

void CHalvexApp::CreateHiddenWindows() {
    auto* border = new CFlashingWnd;
    TheRecordingState.BorderWindow = border;
    border->CreateBorder("Flashing");
    MouseCaptureWnd.CreateCaptureWnd();
}

int CHalvexApp::ExitInstance() {
    if (CFlashingWnd* border = TheRecordingState.BorderWindow.exchange(nullptr)) {
        border->DestroyWindow();
        delete border;
    }
    MouseCaptureWnd.DestroyWindow();
    // Also balances the COM initialisation made when the device was opened.
    ReleaseCaptureDevice();
    return CWinApp::ExitInstance();
}

HWND CHalvexApp::MainWindow() const { return m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr; }

bool CHalvexApp::OnCommand(UINT id) {
    switch (id) {
        case ID_APP_ABOUT:
            OnAppAbout();
            return true;
        case ID_FILE_ENTER_NAME:
            EnterOutputFileName(Settings, *this, Files, MainWindow());
            return true;
        case ID_FILE_CONVERT:
            RunConverter(Files.Recorded(Settings.SavePath));
            return true;
        case ID_OPTIONS_VIDEO:
            EditRecordOptions(Settings, Compressors, *this, MainWindow());
            return true;
        case ID_OPTIONS_AUDIO:
            EditAudioFormat(Settings, Audio.Supported(), *this, MainWindow());
            return true;
        case ID_OPTIONS_RECORD:
            EditGeneralOptions(Settings, *this, MouseCaptureWnd, MainWindow());
            return true;
        default:
            return CWinApp::OnCommand(id);
    }
}

void CHalvexApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal(MainWindow());
}
