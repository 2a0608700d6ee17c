#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/PictureColours.h"

TEST(PictureColours, OnlyExactMatchesBecomeTheNewColourAndRowPaddingIsLeftAlone) {
    // Pure red: two rows of three pixels, blue-green-red, each row padded to 12 bytes.
    std::vector<uint8_t> bits{0, 0, 255, 1, 0, 255, 0, 0, 255, 0xAA, 0xAA, 0xAA,
                              0, 0, 254, 0, 0, 0,   0, 0, 255, 0xAA, 0xAA, 0xAA};
    ReplaceColour(bits.data(), 3, 2, 12, 0x000000FF, 0x00C0D0E0);  // to red E0, green D0, blue C0
    const std::vector<uint8_t> expected{0xC0, 0xD0, 0xE0, 1,    0,    255,  0xC0, 0xD0,
                                        0xE0, 0xAA, 0xAA, 0xAA, 0,    0,    254,  0,
                                        0,    0,    0xC0, 0xD0, 0xE0, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(bits, expected);

    // Light grey: one row of four pixels, one of them off in its blue by one.
    std::vector<uint8_t> grey{0xC0, 0xC0, 0xC0, 0xC1, 0xC0, 0xC0, 0, 0, 0, 0xC0, 0xC0, 0xC0};
    ReplaceColour(grey.data(), 4, 1, 12, 0x00C0C0C0, 0x00F5F5F5);
    EXPECT_EQ(grey, (std::vector<uint8_t>{0xF5, 0xF5, 0xF5, 0xC1, 0xC0, 0xC0, 0, 0, 0, 0xF5, 0xF5,
                                          0xF5}));
}
