#include "options/HotKeyOptionsDlg.h"

#include <commctrl.h>

#include "res/resource.h"
#include "settings/HotkeyFlags.h"
#include "settings/RecordSettings.h"

namespace {

void ShowHotkey(HWND dialog, int id, uint16_t key, uint16_t mods) {
    const uint16_t packed = PackHotkey(static_cast<uint8_t>(key), static_cast<uint8_t>(mods));
    SendDlgItemMessageA(dialog, id, HKM_SETHOTKEY, packed, 0);
}

void ReadHotkey(HWND dialog, int id, uint16_t& key, uint16_t& mods) {
    const UnpackedHotkey hotkey =
        UnpackHotkey(static_cast<uint16_t>(SendDlgItemMessageA(dialog, id, HKM_GETHOTKEY, 0, 0)));
    key = hotkey.key;
    mods = hotkey.controlFlags;
}

}  // namespace

CHotKeyOptionsDlg::CHotKeyOptionsDlg() : CDialog(IDD_HOTKEY_OPTIONS) {}

BOOL CHotKeyOptionsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // One that is not in force shows as not set: its keys do nothing now.
    ShowHotkey(m_hWnd, IDC_HOTKEY_STOP, InForce.stop ? StopKey : 0, InForce.stop ? StopMods : 0);
    ShowHotkey(m_hWnd, IDC_HOTKEY_START, InForce.start ? StartKey : 0,
               InForce.start ? StartMods : 0);
    ShowHotkey(m_hWnd, IDC_HOTKEY_PAUSE, InForce.pause ? PauseKey : 0,
               InForce.pause ? PauseMods : 0);
    const std::string note =
        NotInForce.empty() ? std::string()
                           : "Not set, as another program or hotkey has the keys: " + NotInForce;
    SetDlgItemTextA(m_hWnd, IDC_HOTKEY_NOTE, note.c_str());
    return TRUE;
}

void CHotKeyOptionsDlg::OnOK() {
    ReadHotkey(m_hWnd, IDC_HOTKEY_STOP, StopKey, StopMods);
    ReadHotkey(m_hWnd, IDC_HOTKEY_START, StartKey, StartMods);
    ReadHotkey(m_hWnd, IDC_HOTKEY_PAUSE, PauseKey, PauseMods);
    EndDialog(IDOK);
}

bool EditHotkeys(RecordSettings& settings, HWND owner, const HotkeysInForce& inForce) {
    // The hotkey control's class exists only once this has run; it is cheap to repeat.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);

    CHotKeyOptionsDlg dialog;
    dialog.StartKey = settings.StartKey;
    dialog.StartMods = ControlFlagsFromRegistration(settings.StartMod);
    dialog.StopKey = settings.EndKey;
    dialog.StopMods = ControlFlagsFromRegistration(settings.EndMod);
    dialog.PauseKey = settings.PauseKey;
    dialog.PauseMods = ControlFlagsFromRegistration(settings.PauseMod);
    dialog.InForce = inForce;
    dialog.NotInForce = HotkeysNotInForce(settings, inForce);
    if (dialog.DoModal(owner) != IDOK) return false;

    settings.StartKey = dialog.StartKey;
    settings.StartMod = RegistrationFlagsFromControl(dialog.StartMods);
    settings.EndKey = dialog.StopKey;
    settings.EndMod = RegistrationFlagsFromControl(dialog.StopMods);
    settings.PauseKey = dialog.PauseKey;
    settings.PauseMod = RegistrationFlagsFromControl(dialog.PauseMods);
    return true;
}
