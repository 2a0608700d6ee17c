// What the program hands to the shell: the recorded file to its player, the
// help file, the website and the converter program.
#pragma once

#include <windows.h>

#include <string>

// Opens the file with its associated program; an empty path does nothing.
void PlayRecordedFile(HWND owner, const std::string& path);
// Opens the help file if it can be found, else says where to get it.
void OpenHelpContents();
void OpenWebsite();
// Starts the converter with the recording chosen in its window (none when
// empty) if the converter can be found, else says where to get it.
void RunConverter(const std::string& recording);
