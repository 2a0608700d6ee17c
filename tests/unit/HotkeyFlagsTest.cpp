#include <gtest/gtest.h>

#include "settings/HotkeyFlags.h"

TEST(HotkeyFlags, EachModifierMovesToItsPlaceInTheOtherLayout) {
    EXPECT_EQ(RegistrationFlagsFromControl(1), 4);  // Shift
    EXPECT_EQ(RegistrationFlagsFromControl(2), 2);  // Control
    EXPECT_EQ(RegistrationFlagsFromControl(4), 1);  // Alt
    EXPECT_EQ(ControlFlagsFromRegistration(1), 4);
    EXPECT_EQ(ControlFlagsFromRegistration(2), 2);
    EXPECT_EQ(ControlFlagsFromRegistration(4), 1);
}

TEST(HotkeyFlags, CombinationsConvertBitByBitAndRoundTrip) {
    EXPECT_EQ(RegistrationFlagsFromControl(3), 6);  // Ctrl+Shift
    EXPECT_EQ(RegistrationFlagsFromControl(6), 3);  // Ctrl+Alt
    EXPECT_EQ(RegistrationFlagsFromControl(7), 7);
    EXPECT_EQ(ControlFlagsFromRegistration(5), 5);  // Alt+Shift keeps both
    EXPECT_EQ(ControlFlagsFromRegistration(3), 6);
    for (uint16_t flags = 0; flags < 8; ++flags) {
        EXPECT_EQ(ControlFlagsFromRegistration(RegistrationFlagsFromControl(flags)), flags);
        EXPECT_EQ(RegistrationFlagsFromControl(ControlFlagsFromRegistration(flags)), flags);
    }
}

TEST(HotkeyFlags, ExtendedAndUnknownBitsAreDropped) {
    EXPECT_EQ(RegistrationFlagsFromControl(ControlFlag::Ext), 0);
    EXPECT_EQ(RegistrationFlagsFromControl(ControlFlag::Ext | ControlFlag::Alt), 1);
    EXPECT_EQ(RegistrationFlagsFromControl(0xFFF0 | ControlFlag::Shift), 4);
    // 8 is the registration's no-repeat bit: not a modifier the control shows.
    EXPECT_EQ(ControlFlagsFromRegistration(8), 0);
    EXPECT_EQ(ControlFlagsFromRegistration(0xFFF8 | RegistrationFlag::Control), 2);
}

TEST(HotkeyFlags, PackedValueHoldsTheKeyLowAndTheFlagsHigh) {
    EXPECT_EQ(PackHotkey(0x42, ControlFlag::Control), 0x242);
    EXPECT_EQ(PackHotkey(0x78, ControlFlag::Alt | ControlFlag::Ext), 0xC78);
    EXPECT_EQ(PackHotkey(0xFF, 0xFF), 0xFFFF);

    const UnpackedHotkey hotkey = UnpackHotkey(0x352);
    EXPECT_EQ(hotkey.key, 0x52);
    EXPECT_EQ(hotkey.controlFlags, 3);
    const UnpackedHotkey high = UnpackHotkey(0xFF01);
    EXPECT_EQ(high.key, 0x01);
    EXPECT_EQ(high.controlFlags, 0xFF);
}
