// The notification-area icons of the tests' virtual desktop: where the one
// with a given tip is drawn, and how closely the screen there matches an
// icon resource of a module.
#pragma once

#include <windows.h>

#include <string>

enum class TrayLookup { Found, Absent, Unanswered };

// Finds the screen rectangle of the tray icon whose tip (or its first line)
// is `tip`, through
// the tooltip tool the tray keeps for each icon. `seen` lists the tips found.
// Unanswered: the tray has no window yet or one of its tooltips did not answer.
TrayLookup FindTrayIcon(const std::string& tip, RECT& place, std::string& seen);

// Mean difference per colour channel (0 to 255) between the screen at
// `place` and icon `id` of `module` drawn there at the small icon size, the
// best over the ways a program may have loaded it; a huge value when the
// module has no such icon.
double IconDistance(const RECT& place, HMODULE module, int id);
