// Acting as the user on dialogs that run modally on another thread: finding
// them, reading and changing their controls, pressing their buttons.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

constexpr DWORD DialogWaitLimit = 10000;

// A visible dialog-class window of the thread; with an owner given, one it owns.
HWND FindDialog(DWORD thread, HWND owner = nullptr);
// Waits for a visible dialog (or message box, or common dialog) owned by this window.
HWND WaitForOwned(HWND owner);
bool Closed(HWND window);

std::string Caption(HWND window);
std::string Text(HWND dialog, int id);
bool Checked(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
void Type(HWND dialog, int id, const std::string& text);

// Has the dialog painted now, then saves the screen as NAME.bmp into the
// folder named by BRANTLE_SHOT_DIR, when set.
void SaveDialogForReview(HWND dialog, const char* name);

// Clicks a check box, radio button or push button as the mouse would, and
// returns once the dialog has handled it. Only for buttons that open nothing.
void Click(HWND dialog, int id);
// Posts a button's click, for buttons that open a window: a modal window
// must never block the driver.
void Press(HWND dialog, int id);

// Runs open() on this thread while drive(dialog) runs on a second one, given
// the dialog that `owner` owns (any dialog of this thread when null).
// Whatever is still open when the driver is done is cancelled and counts as
// a failure: a test can fail, but never hang.
void Driven(const std::function<void()>& open, HWND owner,
            const std::function<void(HWND dialog)>& drive);
