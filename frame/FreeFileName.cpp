#include "frame/FreeFileName.h"

#include "framework/PathParts.h"

std::string NumberedFileName(const std::string& path, int number) {
    const size_t dot = ExtensionStart(path);
    return path.substr(0, dot) + " (" + std::to_string(number) + ")" + path.substr(dot);
}

std::string FreeFileName(const std::string& path,
                         const std::function<bool(const std::string&)>& exists) {
    if (!exists(path)) return path;
    for (int number = 2; number <= MaxFileNumber; ++number) {
        std::string candidate = NumberedFileName(path, number);
        if (!exists(candidate)) return candidate;
    }
    return {};
}
