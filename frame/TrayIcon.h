// The program's icon in the notification area: idle or recording, with its
// clicks reported to the main window as WM_USER_TRAYNOTIFY.
#pragma once

#include <windows.h>

#include <shellapi.h>

constexpr UINT WM_USER_TRAYNOTIFY = WM_USER + 1;
constexpr UINT TrayIconId = 164;

class CTrayIcon {
public:
    void Add(HWND owner);
    // Refills the whole record: the recording icon while recording.
    void Show(bool recording);
    void Remove();

private:
    void Fill(bool recording);

    HWND m_owner = nullptr;
    NOTIFYICONDATAA m_record{};
};
