#include <gtest/gtest.h>

#include "framework/DpiScale.h"

TEST(DpiScale, KeepsSizesAt96AndScalesToTheNearestPixelAbove) {
    EXPECT_EQ(ScaleForDpi(480, 96), 480);
    EXPECT_EQ(ScaleForDpi(480, 144), 720);
    EXPECT_EQ(ScaleForDpi(360, 120), 450);
    EXPECT_EQ(ScaleForDpi(32, 168), 56);
    EXPECT_EQ(ScaleForDpi(5, 120), 6);  // 6.25
    EXPECT_EQ(ScaleForDpi(3, 120), 4);  // 3.75
    EXPECT_EQ(ScaleForDpi(-3, 120), -4);
    EXPECT_EQ(ScaleForDpi(0, 192), 0);
}
