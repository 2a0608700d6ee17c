#include "frame/TrayIcon.h"

#include <cstring>

#include "res/resource.h"

void CTrayIcon::Fill(bool recording) {
    m_record = {};
    // The record in the size every shell version reads.
    m_record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    m_record.hWnd = m_owner;
    m_record.uID = TrayIconId;
    m_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_record.uCallbackMessage = WM_USER_TRAYNOTIFY;
    m_record.hIcon = LoadIconA(GetModuleHandleA(nullptr),
                               MAKEINTRESOURCEA(recording ? IDI_TRAY_RECORDING : IDI_TRAY_IDLE));
    std::strcpy(m_record.szTip, "Brantle for Windows");
}

void CTrayIcon::Add(HWND owner) {
    m_owner = owner;
    Fill(false);
    Shell_NotifyIconA(NIM_ADD, &m_record);
}

void CTrayIcon::Show(bool recording) {
    Fill(recording);
    Shell_NotifyIconA(NIM_MODIFY, &m_record);
}

void CTrayIcon::Remove() { Shell_NotifyIconA(NIM_DELETE, &m_record); }
