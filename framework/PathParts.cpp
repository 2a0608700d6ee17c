#include "framework/PathParts.h"

size_t FileNameStart(const std::string& path) { return path.find_last_of("\\/:") + 1; }

size_t ExtensionStart(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot == std::string::npos || dot <= FileNameStart(path) ? path.size() : dot;
}
