#include "frame/FreeFileName.h"

std::string NumberedFileName(const std::string& path, int number) {
    const size_t nameStart = path.find_last_of("\\/:") + 1;  // 0 when there is no folder
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) dot = path.size();
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
