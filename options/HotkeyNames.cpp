#include "options/HotkeyNames.h"

#include <cstdio>

#include "settings/HotkeyFlags.h"
#include "settings/RecordSettings.h"

namespace {

std::string KeyName(uint16_t key) {
    constexpr uint16_t F1 = 0x70, F24 = 0x87, Numpad0 = 0x60, Numpad9 = 0x69;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= F1 && key <= F24) return "F" + std::to_string(key - F1 + 1);
    if (key >= Numpad0 && key <= Numpad9) return "Num " + std::to_string(key - Numpad0);
    switch (key) {
        case 0x08: return "Backspace";
        case 0x09: return "Tab";
        case 0x0D: return "Enter";
        case 0x13: return "Pause";
        case 0x1B: return "Esc";
        case 0x20: return "Space";
        case 0x21: return "Page Up";
        case 0x22: return "Page Down";
        case 0x23: return "End";
        case 0x24: return "Home";
        case 0x25: return "Left";
        case 0x26: return "Up";
        case 0x27: return "Right";
        case 0x28: return "Down";
        case 0x2C: return "Print Screen";
        case 0x2D: return "Insert";
        case 0x2E: return "Delete";
    }
    char code[16];
    std::snprintf(code, sizeof code, "Key %02X", key);
    return code;
}

}  // namespace

std::string HotkeyName(uint16_t key, uint16_t mods) {
    std::string name;
    if (mods & RegistrationFlag::Control) name += "Ctrl+";
    if (mods & RegistrationFlag::Shift) name += "Shift+";
    if (mods & RegistrationFlag::Alt) name += "Alt+";
    return name + KeyName(key);
}

std::string HotkeysNotInForce(const RecordSettings& s, const HotkeysInForce& inForce) {
    std::string names;
    auto add = [&names](bool inForce, const char* action, uint16_t key, uint16_t mods) {
        if (inForce) return;
        if (!names.empty()) names += ", ";
        names += std::string(action) + " (" + HotkeyName(key, mods) + ")";
    };
    add(inForce.start, "Start", s.StartKey, s.StartMod);
    add(inForce.stop, "Stop", s.EndKey, s.EndMod);
    add(inForce.pause, "Pause", s.PauseKey, s.PauseMod);
    return names;
}
