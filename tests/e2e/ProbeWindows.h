// Finding the windows of a program under test from app_probe, a separate
// process on the same Wine desktop, and waiting for conditions on them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Moves this thread onto the tests' virtual desktop (scripts/in-desktop.sh)
// once it exists: windows and the foreground are per desktop under Wine, and a
// program started with plain `wine` lands on the default one.
void JoinTestDesktop();

// The top-level window with exactly this title, or nullptr.
HWND FindTopLevel(const std::string& title);

// A dialog box (class "#32770", message boxes too) with exactly this caption.
HWND FindDialog(const std::string& caption);

// The first child of a window with this class, or nullptr.
HWND FindChildOfClass(HWND parent, const char* className);

// The first window of this class anywhere below a window (a toolbar may sit
// in a rebar), or nullptr.
HWND FindDescendantOfClass(HWND ancestor, const char* className);

std::string WindowText(HWND wnd);

// "title|title|..." of the visible top-level windows, for failure messages.
std::string VisibleTitles();

// Polls the check until it returns true or the limit passes. The check sets
// `seen` to what it found, which a failure message reports.
bool WaitFor(DWORD timeoutMs, const std::function<bool(std::string& seen)>& check,
             std::string& seen);
