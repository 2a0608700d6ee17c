// The program's application object in this process, made once the way
// start-up makes it (built-in compressors, main window), with its settings
// kept under a registry key of the tests' own. Commands reach it through its
// main window, as they do from the menu.
#pragma once

#include <windows.h>

#include <string>

#include "app/HalvexApp.h"

CHalvexApp& RunningApp();
HWND MainWindow();

// The formats the test environment's capture device supports, found by the
// application's audio catalogue, built at the first call.
const SupportedFormats& DeviceFormats();

void SendCommand(UINT id);
// The text of a status bar pane: 0 prompts, 1 state, 2 seconds and frames.
std::string PaneText(int pane);
bool CommandEnabled(UINT id);

// The settings section in the registry: removed, present, and one number
// (Absent when not stored).
constexpr int Absent = -123456;
void ForgetSavedSettings();
bool SettingsSaved();
int SavedInt(const char* entry);
