// Messages the recording threads post to the main window.
#pragma once

#include <windows.h>

// wParam: frames in the file so far; lParam: whole seconds recorded.
constexpr UINT WM_RECORD_STATUS = WM_USER + 101;

// Registered by name when the program starts.
extern const UINT WM_USER_RECORDINTERRUPTED_MSG;  // a file step failed; wParam below
// WM_USER_RECORDINTERRUPTED_MSG's wParam when the file got no frame: the
// start failed.
constexpr WPARAM InterruptedBeforeFirstFrame = 1;
extern const UINT WM_USER_SAVECURSOR_MSG;         // from the mouse hook
extern const UINT WM_USER_GENERIC_MSG;            // the recording has ended
extern const UINT WM_USER_RECORDSTART_MSG;        // the user accepted the default compressor
