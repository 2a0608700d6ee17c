#include "tests/win/RunningApp.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "codecs/BuiltInCompressors.h"
#include "framework/FrameWnd.h"
#include "res/resource.h"

namespace {

constexpr char TestRegistryKey[] = "Brantle Option Dialog Tests";
const std::string KeyPath = std::string("Software\\") + TestRegistryKey;

CHalvexApp* MakeApp() {
    InstallBuiltInCompressors();
    auto* app = new CHalvexApp;
    app->SetRegistryKey(TestRegistryKey);
    EXPECT_TRUE(app->CreateMainWindow());
    return app;
}

}  // namespace

CHalvexApp& RunningApp() {
    static CHalvexApp* app = MakeApp();  // lives as long as the process
    return *app;
}

const SupportedFormats& DeviceFormats() {
    static const SupportedFormats& formats = []() -> const SupportedFormats& {
        RunningApp().Audio.Build(RunningApp().Settings);
        return RunningApp().Audio.Supported();
    }();
    return formats;
}

HWND MainWindow() { return RunningApp().m_pMainWnd->GetSafeHwnd(); }

void SendCommand(UINT id) { SendMessageA(MainWindow(), WM_COMMAND, id, 0); }

std::string PaneText(int pane) {
    char text[256] = {};
    SendMessageA(GetDlgItem(MainWindow(), ID_VIEW_STATUS_BAR), SB_GETTEXTA, pane,
                 reinterpret_cast<LPARAM>(text));
    return text;
}

bool CommandEnabled(UINT id) {
    CCmdUI ui(id);
    RunningApp().m_pMainWnd->UpdateCommand(ui);
    return ui.enabled;
}

void ForgetSavedSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, KeyPath.c_str()); }

bool SettingsSaved() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

int SavedInt(const char* entry) { return RunningApp().GetProfileInt("Default", entry, Absent); }
