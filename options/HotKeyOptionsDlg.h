// The "HotKey Options" dialog: one hotkey control each for starting,
// stopping and pausing a recording.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/Dialog.h"

struct RecordSettings;

class CHotKeyOptionsDlg : public CDialog {
public:
    CHotKeyOptionsDlg();

    // Virtual keys, and modifiers in the hotkey control's bit layout.
    uint16_t StartKey = 0, StartMods = 0;
    uint16_t StopKey = 0, StopMods = 0;
    uint16_t PauseKey = 0, PauseMods = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// Lets the user change the three hotkeys. On OK the settings take them and
// the result is true: the caller registers them anew. On Cancel nothing
// changes. Nothing is written to the profile here.
bool EditHotkeys(RecordSettings& settings, HWND owner);
