// Tells the user that the recording's file could not be made or written:
// which file, the system's reason (a full disk, a removed drive, a file
// held by another program) and what became of the recording.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

enum class FileStep { Create, Write };

// reasonCode: the system's error code, or 0 with tooLong when the file
// outgrew the room for its index.
struct FileFailure {
    FileStep step = FileStep::Write;
    uint32_t reasonCode = 0;
    bool tooLong = false;
};

std::string FileFailureText(const FileFailure& failure, const std::string& path);

// A warning box over the owner (the main window), from the recording thread.
void ShowFileFailure(const FileFailure& failure, const std::string& path, HWND owner);
