#include "settings/HotkeyFlags.h"

namespace {

// Control and registration bits of each modifier, in the same order.
struct ModifierBits {
    uint16_t control;
    uint16_t registration;
};
constexpr ModifierBits Modifiers[] = {
    {ControlFlag::Shift, RegistrationFlag::Shift},
    {ControlFlag::Control, RegistrationFlag::Control},
    {ControlFlag::Alt, RegistrationFlag::Alt},
};

}  // namespace

uint16_t RegistrationFlagsFromControl(uint16_t controlFlags) {
    uint16_t result = 0;
    for (const auto& m : Modifiers)
        if (controlFlags & m.control) result |= m.registration;
    return result;
}

uint16_t ControlFlagsFromRegistration(uint16_t registrationFlags) {
    uint16_t result = 0;
    for (const auto& m : Modifiers)
        if (registrationFlags & m.registration) result |= m.control;
    return result;
}

uint16_t PackHotkey(uint8_t key, uint8_t controlFlags) {
    return static_cast<uint16_t>(key | (controlFlags << 8));
}

UnpackedHotkey UnpackHotkey(uint16_t packed) {
    return {static_cast<uint8_t>(packed & 0xFF), static_cast<uint8_t>(packed >> 8)};
}
