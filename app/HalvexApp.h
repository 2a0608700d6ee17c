// The application object: it starts the program as a single instance, holds
// the settings and the catalogues built at start-up, makes the border,
// selection and main windows, and tears the shared objects down at exit.
#pragma once

#include <windows.h>

#include "framework/WinApp.h"
#include "options/AudioFormatCatalogue.h"
#include "options/CompressorCatalogue.h"
#include "options/OutputFileDlg.h"
#include "region/MouseCaptureWnd.h"
#include "settings/RecordSettings.h"

constexpr char MainWindowTitle[] = "Brantle for Windows 1.80";

class CHalvexApp : public CWinApp {
public:
    CHalvexApp() = default;

    BOOL InitInstance() override;
    int ExitInstance() override;
    bool OnCommand(UINT id) override;

    // Makes the main window (frame, view, owner-drawn menu, title), not yet
    // shown, working on this object's settings, catalogue and selection
    // window; false when it could not be made.
    bool CreateMainWindow();

    RecordSettings Settings;
    CompressorCatalogue Compressors;
    AudioFormatCatalogue Audio;
    CMouseCaptureWnd MouseCaptureWnd;
    OutputFiles Files;

private:
    // The owner of the dialogs the application opens.
    HWND MainWindow() const;
    bool ActivateRunningInstance();
    void CreateHiddenWindows();
    void OnAppAbout();
    void OnFileEnterName();
};
