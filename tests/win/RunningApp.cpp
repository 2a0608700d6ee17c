#include "tests/win/RunningApp.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "codecs/BuiltInCompressors.h"
#include "frame/MainFrame.h"
#include "res/resource.h"
#include "tests/win/TestPaths.h"

namespace {

constexpr char TestRegistryKey[] = "Brantle Option Dialog Tests";
const std::string KeyPath = std::string("Software\\") + TestRegistryKey;

CHalvexApp* MakeApp() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);
    InstallBuiltInCompressors();
    auto* app = new CHalvexApp;
    app->SetRegistryKey(TestRegistryKey);
    app->Compressors.Build(app->Settings);
    EXPECT_TRUE(app->CreateMainWindow());
    EXPECT_TRUE(app->MouseCaptureWnd.CreateCaptureWnd());
    return app;
}

}  // namespace

CHalvexApp& RunningApp() {
    static CHalvexApp* app = MakeApp();  // lives as long as the process
    return *app;
}

HWND MainWindow() { return RunningApp().m_pMainWnd->GetSafeHwnd(); }

POINT RegionOrigin() {
    return static_cast<CMainFrame*>(RunningApp().m_pMainWnd)->Controller().RegionOrigin();
}

const SupportedFormats& DeviceFormats() {
    static const SupportedFormats& formats = []() -> const SupportedFormats& {
        RunningApp().Audio.Build(RunningApp().Settings);
        return RunningApp().Audio.Supported();
    }();
    return formats;
}

void SendCommand(UINT id) { SendMessageA(MainWindow(), WM_COMMAND, id, 0); }

bool CommandEnabled(UINT id) {
    CCmdUI ui(id);
    RunningApp().m_pMainWnd->UpdateCommand(ui);
    return ui.enabled;
}

std::string PaneText(int pane) {
    char text[256] = {};
    SendMessageA(GetDlgItem(MainWindow(), ID_VIEW_STATUS_BAR), SB_GETTEXTA, pane,
                 reinterpret_cast<LPARAM>(text));
    return text;
}

int FramesShown() {
    int seconds = 0, frames = 0;
    return std::sscanf(PaneText(2).c_str(), "%d sec %d", &seconds, &frames) == 2 ? frames : 0;
}

void PrepareFullScreenRecording(const char* fileName) {
    RecordSettings& s = RunningApp().Settings;
    s.RegionType = RegionFullScreen;
    s.Minimize = 0;
    s.RecordAudio = 0;
    s.Blink = 0;
    s.AutoPlay = 0;
    s.CurCompressor = LosslessCompressorEntry;
    s.SavePath = FreshTempPath(fileName);
}

void ForgetSavedSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, KeyPath.c_str()); }

bool SettingsSaved() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

int SavedInt(const char* entry) {
    return RunningApp().GetProfileInt(SettingsSection, entry, Absent);
}
