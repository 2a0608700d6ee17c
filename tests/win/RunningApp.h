// The program's application object in this test process, made at the first
// call the way start-up makes it (common controls, built-in compressors, the
// compressor catalogue for the default settings, the main window and the
// selection window), with its settings kept under a registry key of the
// tests' own. Commands reach it through its main window, as they do from the
// menu.
#pragma once

#include <windows.h>

#include <string>

#include "app/HalvexApp.h"

CHalvexApp& RunningApp();
HWND MainWindow();
// The top-left corner of the region last selected for a recording.
POINT RegionOrigin();

// The formats the test environment's capture device supports, found by the
// application's audio catalogue, built at the first call.
const SupportedFormats& DeviceFormats();

void SendCommand(UINT id);
bool CommandEnabled(UINT id);
// The text of a status bar pane: 0 prompts, 1 state, 2 seconds and frames.
std::string PaneText(int pane);
// The frames the third pane counts; 0 while it counts none.
int FramesShown();

// The catalogue's lossless AVI compressor, after the MP4 entry.
constexpr int LosslessCompressorEntry = 1;

// Settings for a recording that needs nobody at the screen: the full screen,
// no minimising, sound, blinking or playing afterwards, the lossless AVI
// compressor, into a fresh file of that name in the temporary folder.
void PrepareFullScreenRecording(const char* fileName);

// The settings section in the registry: removed, present, and one number
// (Absent when not stored).
constexpr int Absent = -123456;
void ForgetSavedSettings();
bool SettingsSaved();
int SavedInt(const char* entry);
