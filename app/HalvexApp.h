// The application object: it starts the program as a single instance, holds
// the settings and the catalogues built at start-up, makes the border,
// selection and main windows, and tears the shared objects down at exit.
#pragma once

#include <windows.h>

#include "app/RecordSettings.h"
#include "framework/WinApp.h"
#include "options/AudioFormatCatalogue.h"
#include "options/CompressorCatalogue.h"
#include "region/MouseCaptureWnd.h"

constexpr char MainWindowTitle[] = "Brantle for Windows 1.80";

class CHalvexApp : public CWinApp {
public:
    CHalvexApp() = default;

    BOOL InitInstance() override;
    int ExitInstance() override;
    bool OnCommand(UINT id) override;

    // The running program's application object.
    static CHalvexApp& Get() { return *static_cast<CHalvexApp*>(AfxGetApp()); }

    RecordSettings Settings;
    CompressorCatalogue Compressors;
    AudioFormatCatalogue Audio;
    int RegionLeft = 0;
    int RegionTop = 0;
    CMouseCaptureWnd MouseCaptureWnd;

private:
    // The owner of the dialogs the application opens.
    HWND MainWindow() const;
    bool ActivateRunningInstance();
    void CreateHiddenWindows();
    void OnAppAbout();
    void OnFileEnterName();
};
