// The "HotKey Options" dialog: one hotkey control each for starting,
// stopping and pausing a recording. A hotkey that is not in force shows as
// not set, and a note under the controls names it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Dialog.h"
#include "options/HotkeyNames.h"

struct RecordSettings;

class CHotKeyOptionsDlg : public CDialog {
public:
    CHotKeyOptionsDlg();

    // Virtual keys, and modifiers in the hotkey control's bit layout.
    uint16_t StartKey = 0, StartMods = 0;
    uint16_t StopKey = 0, StopMods = 0;
    uint16_t PauseKey = 0, PauseMods = 0;
    HotkeysInForce InForce;
    std::string NotInForce;  // the names for the note; empty hides it

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// Lets the user change the three hotkeys; inForce tells which of the
// settings' hotkeys are registered. On OK the settings take them and the
// result is true. On Cancel nothing changes. Nothing is written to the
// profile here; the caller registers the hotkeys again either way.
bool EditHotkeys(RecordSettings& settings, HWND owner, const HotkeysInForce& inForce);
