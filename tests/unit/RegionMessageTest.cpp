#include <gtest/gtest.h>

#include <cstdint>

#include "region/RegionMessage.h"

TEST(RegionMessage, LeftAndTopGoIntoWParamRightAndBottomIntoLParamLowHalfFirst) {
    const RegionParams p = PackRegion({1, 2, 3, 4});
    EXPECT_EQ(p.wParam, 0x00020001u);
    EXPECT_EQ(p.lParam, 0x00040003u);
}

TEST(RegionMessage, EachHalfIsATwosComplementSixteenBitValue) {
    const RegionParams p = PackRegion({-976, -8, 1023, 767});
    EXPECT_EQ(p.wParam, 0xFFF8FC30u);
    EXPECT_EQ(p.lParam, 0x02FF03FFu);
    EXPECT_EQ(UnpackRegion(p.wParam, p.lParam), (PixelRect{-976, -8, 1023, 767}));
}

TEST(RegionMessage, UnpackingSignExtendsEveryHalfAndIgnoresTheUpperWord) {
    for (const PixelRect& r : {PixelRect{-32768, 32767, -1, 0}, PixelRect{0, -1, 32767, -32768},
                               PixelRect{512, 384, 512, 384}})
        EXPECT_EQ(UnpackRegion(PackRegion(r).wParam, PackRegion(r).lParam), r);
    // A 64-bit LPARAM may arrive sign-extended from bit 31.
    EXPECT_EQ(UnpackRegion(0xFFFFFFFFFFFEFFFFull, 0xFFFFFFFF80007FFFull),
              (PixelRect{-1, -2, 32767, -32768}));
}

TEST(RegionMessage, AOnePixelRectangleHasEqualParameters) {
    const RegionParams p = PackRegion({300, 200, 300, 200});
    EXPECT_EQ(p.wParam, p.lParam);
}
