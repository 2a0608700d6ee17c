// The program's icon in the notification area: idle, recording or paused,
// with a tooltip, and its clicks reported to the main window as
// WM_USER_TRAYNOTIFY.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "frame/ControllerRules.h"

constexpr UINT WM_USER_TRAYNOTIFY = WM_USER + 1;
constexpr UINT TrayIconId = 164;

class CTrayIcon {
public:
    void Add(HWND owner);
    // Refills the whole record; filePath names the recording in the tooltip.
    void Show(TrayState state, const std::string& filePath = {});
    void Remove();

private:
    void Fill(TrayState state, const std::string& filePath);

    HWND m_owner = nullptr;
    NOTIFYICONDATAA m_record{};
};
