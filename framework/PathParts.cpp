#include "framework/PathParts.h"

#include <cctype>

size_t FileNameStart(const std::string& path) { return path.find_last_of("\\/:") + 1; }

size_t ExtensionStart(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot == std::string::npos || dot <= FileNameStart(path) ? path.size() : dot;
}

bool IsAviPath(const std::string& path) {
    std::string extension = path.substr(ExtensionStart(path));
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".avi";
}
