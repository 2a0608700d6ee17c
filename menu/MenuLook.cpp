#include "menu/MenuLook.h"

#include <cctype>

namespace {

int NineXClass(const PlatformVersion& v) {
    if (v.major < 4) return 0;
    if (v.major == 4 && v.minor == 10) return 3;
    if (v.major == 4 && v.minor == 90) return 4;
    return 2;
}

int NtClass(const PlatformVersion& v) {
    if (v.major == 4) return 5;
    if (v.major == 5 && v.minor == 0) return 6;
    if (v.major == 5 && v.minor == 1) return 7;
    return 1;
}

}  // namespace

int OperatingSystemClass(bool ntFamily, const PlatformVersion* version) {
    if (!version) return ntFamily ? 1 : 2;
    return ntFamily ? NtClass(*version) : NineXClass(*version);
}

bool IsClassicThemeFile(const std::string& themeFile) {
    static const std::string classic = "windows classic.theme";
    if (themeFile.size() < classic.size()) return false;
    const size_t start = themeFile.size() - classic.size();
    for (size_t i = 0; i < classic.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(themeFile[start + i])) != classic[i])
            return false;
    return true;
}
