#include <gtest/gtest.h>

#include <vector>

#include "region/WindowHit.h"

TEST(RegionWindowHit, TheFirstListedRectangleThatHoldsThePointWins) {
    const std::vector<PixelRect> rects = {
        {100, 100, 200, 200}, {0, 0, 1024, 768}, {150, 150, 300, 300}};
    EXPECT_EQ(FindWindowAt(rects, 150, 150), 0u);
    EXPECT_EQ(FindWindowAt(rects, 250, 250), 1u);
    EXPECT_EQ(FindWindowAt({rects[2], rects[0]}, 150, 150), 0u);
    EXPECT_EQ(FindWindowAt({}, 150, 150), std::nullopt);
}

TEST(RegionWindowHit, LeftAndTopEdgesAreInsideRightAndBottomEdgesOutside) {
    const std::vector<PixelRect> rects = {{100, 100, 200, 200}, {-40, -30, 1064, 798}};
    EXPECT_EQ(FindWindowAt(rects, 100, 100), 0u);
    EXPECT_EQ(FindWindowAt(rects, 199, 199), 0u);
    EXPECT_EQ(FindWindowAt(rects, 200, 150), 1u);
    EXPECT_EQ(FindWindowAt(rects, 150, 200), 1u);
    EXPECT_EQ(FindWindowAt(rects, -40, -30), 1u);
    EXPECT_EQ(FindWindowAt(rects, 1064, 0), std::nullopt);
    EXPECT_EQ(FindWindowAt(rects, 0, 798), std::nullopt);
}
