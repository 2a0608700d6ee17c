// Hotkey modifiers come in two bit layouts: the hotkey control's and the
// hotkey registration's. Settings keep the registration's; the options
// dialog shows and reads the control's. Kept free of <windows.h>.
#pragma once

#include <cstdint>

// The hotkey control's modifier bits.
namespace ControlFlag {
constexpr uint16_t Shift = 1;
constexpr uint16_t Control = 2;
constexpr uint16_t Alt = 4;
constexpr uint16_t Ext = 8;  // an extended key; registration has no such bit
}  // namespace ControlFlag

// The hotkey registration's modifier bits.
namespace RegistrationFlag {
constexpr uint16_t Alt = 1;
constexpr uint16_t Control = 2;
constexpr uint16_t Shift = 4;
}  // namespace RegistrationFlag

// Shift and Alt swap places, Control stays; every other bit is dropped.
uint16_t RegistrationFlagsFromControl(uint16_t controlFlags);
uint16_t ControlFlagsFromRegistration(uint16_t registrationFlags);

// The hotkey control's value: the virtual key in the low byte, its control
// modifier bits in the high byte.
uint16_t PackHotkey(uint8_t key, uint8_t controlFlags);
struct UnpackedHotkey {
    uint8_t key;
    uint8_t controlFlags;
};
UnpackedHotkey UnpackHotkey(uint16_t packed);
