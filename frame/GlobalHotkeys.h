// The three system-wide hotkeys that start (or resume), stop and pause a
// recording while another program has the focus.
#pragma once

#include <windows.h>

#include "options/HotkeyNames.h"
#include "settings/RecordSettings.h"

class CGlobalHotkeys {
public:
    enum class Action { None, Start, Stop, Pause };

    // Takes the identifiers (global atoms) once per main window.
    void AddAtoms();
    // Registers start, stop and pause; InForce then tells which took. A
    // hotkey without a key is left unregistered.
    void Register(HWND owner, const RecordSettings& settings);
    void Unregister(HWND owner);
    const HotkeysInForce& InForce() const { return m_inForce; }
    Action ActionFor(WPARAM id) const;

private:
    ATOM m_startId = 0;
    ATOM m_stopId = 0;
    ATOM m_pauseId = 0;
    HotkeysInForce m_inForce;
};
