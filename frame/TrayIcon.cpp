#include "frame/TrayIcon.h"

#include <cstring>

#include "res/resource.h"

namespace {

WORD IconOf(TrayState state) {
    switch (state) {
        case TrayState::Recording:
            return IDI_TRAY_RECORDING;
        case TrayState::Paused:
            return IDI_TRAY_PAUSED;
        case TrayState::Idle:
            break;
    }
    return IDI_TRAY_IDLE;
}

}  // namespace

void CTrayIcon::Fill(TrayState state, const std::string& filePath) {
    m_record = {};
    // The record in the size every shell version reads.
    m_record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    m_record.hWnd = m_owner;
    m_record.uID = TrayIconId;
    m_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_record.uCallbackMessage = WM_USER_TRAYNOTIFY;
    m_record.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IconOf(state)));
    const std::string tip = TrayTip(state, filePath, sizeof m_record.szTip);
    std::memcpy(m_record.szTip, tip.c_str(), tip.size() + 1);
}

void CTrayIcon::Add(HWND owner) {
    m_owner = owner;
    Fill(TrayState::Idle, {});
    Shell_NotifyIconA(NIM_ADD, &m_record);
}

void CTrayIcon::Show(TrayState state, const std::string& filePath) {
    Fill(state, filePath);
    Shell_NotifyIconA(NIM_MODIFY, &m_record);
}

void CTrayIcon::Remove() { Shell_NotifyIconA(NIM_DELETE, &m_record); }
