// The parts of a Windows path that file naming needs, without <windows.h>.
#pragma once

#include <cstddef>
#include <string>

// Where the file's name starts: after the last \, / or drive colon.
size_t FileNameStart(const std::string& path);
// Where the extension's dot is, or the path's length when there is none. A
// dot of a folder's name is no extension, nor is a name's leading dot.
size_t ExtensionStart(const std::string& path);
// Whether the file is named as an AVI file (".avi" in any case).
bool IsAviPath(const std::string& path);
