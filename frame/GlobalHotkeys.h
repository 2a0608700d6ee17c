// The three system-wide hotkeys that start (or resume), stop and pause a
// recording while another program has the focus.
#pragma once

#include <windows.h>

#include "settings/RecordSettings.h"

class CGlobalHotkeys {
public:
    enum class Action { None, Start, Stop, Pause };

    // Takes the identifiers (global atoms) once per main window.
    void AddAtoms();
    // Registers start, stop and pause in that order; false if any failed.
    bool Register(HWND owner, const RecordSettings& settings);
    void Unregister(HWND owner);
    Action ActionFor(WPARAM id) const;

private:
    ATOM m_startId = 0;
    ATOM m_stopId = 0;
    ATOM m_pauseId = 0;
};
