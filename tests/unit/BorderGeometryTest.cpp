#include <gtest/gtest.h>

#include "engine/BorderGeometry.h"
#include "tests/support/BorderPixels.h"

namespace {

// Length of the run of bracket pixels starting at (x, y) and stepping by (dx, dy).
int RunLength(const BorderShape& s, int x, int y, int dx, int dy) {
    int n = 0;
    while (BorderContains(s, x + n * dx, y + n * dy)) ++n;
    return n;
}

}  // namespace

TEST(BorderGeometry, BandsAre12PixelsLeftAndTopAnd11RightAndBottom) {
    const int left = 100, top = 80, width = 320, height = 240;
    const BorderShape s = ComputeBorderShape(left, top, width, height);
    const int right = left + width - 1, bottom = top + height - 1;
    // Along the recorded rectangle's first row and column, outwards.
    EXPECT_EQ(RunLength(s, left - 1, top, -1, 0), 12);
    EXPECT_EQ(RunLength(s, right + 1, top, 1, 0), 11);
    EXPECT_EQ(RunLength(s, left, top - 1, 0, -1), 12);
    EXPECT_EQ(RunLength(s, left, bottom + 1, 0, 1), 11);
    EXPECT_FALSE(BorderContains(s, left - 13, top));
    EXPECT_FALSE(BorderContains(s, right + 12, top));
}

TEST(BorderGeometry, ArmsAre36AtTheTopAndLeftEndsAnd41AtTheBottomAndRightEnds) {
    const BorderShape s = ComputeBorderShape(100, 80, 320, 240);
    const int outerLeft = 88, outerTop = 68, outerRight = 430, outerBottom = 330;  // inclusive
    // Top and bottom edges, from each outer corner inwards.
    for (int y : {outerTop, outerBottom}) {
        EXPECT_EQ(RunLength(s, outerLeft, y, 1, 0), 36) << y;
        EXPECT_EQ(RunLength(s, outerRight, y, -1, 0), 41) << y;
    }
    // Left and right edges.
    for (int x : {outerLeft, outerRight}) {
        EXPECT_EQ(RunLength(s, x, outerTop, 0, 1), 36) << x;
        EXPECT_EQ(RunLength(s, x, outerBottom, 0, -1), 41) << x;
    }
}

TEST(BorderGeometry, HoleIsExactlyTheRecordedRectangleAtEverySize) {
    for (int width : {1, 2, 20, 53, 54, 55, 200}) {
        for (int height : {1, 7, 53, 54, 55, 150}) {
            const int left = 30, top = 40;
            const BorderShape s = ComputeBorderShape(left, top, width, height);
            for (int y = top - 14; y < top + height + 14; ++y) {
                for (int x = left - 14; x < left + width + 14; ++x) {
                    const bool inRect =
                        x >= left && x < left + width && y >= top && y < top + height;
                    if (inRect) {
                        ASSERT_FALSE(BorderContains(s, x, y)) << width << "x" << height;
                    }
                }
            }
            // The pixels right around the rectangle's corners are always shown.
            EXPECT_TRUE(BorderContains(s, left - 1, top - 1));
            EXPECT_TRUE(BorderContains(s, left + width, top + height));
        }
    }
}

TEST(BorderGeometry, SidesUnder54PixelsKeepWholeBandsInsteadOfAReversedCut) {
    const int left = 300, top = 400, width = 40, height = 30;
    const BorderShape s = ComputeBorderShape(left, top, width, height);
    EXPECT_FALSE(s.hasHorizontalCut);
    EXPECT_FALSE(s.hasVerticalCut);
    // A closed frame: every pixel between the outer box and the hole is shown.
    EXPECT_EQ(RunLength(s, left - 12, top - 12, 1, 0), width + 23);
    EXPECT_EQ(RunLength(s, left - 12, top - 12, 0, 1), height + 23);
    EXPECT_EQ(RunLength(s, left - 1, top + height / 2, -1, 0), 12);

    // At 54 the cut is exactly empty; from 55 on the side is cut again.
    EXPECT_FALSE(ComputeBorderShape(0, 0, 54, 54).hasVerticalCut);
    const BorderShape cut = ComputeBorderShape(0, 0, 55, 300);
    EXPECT_TRUE(cut.hasVerticalCut);
    EXPECT_TRUE(cut.hasHorizontalCut);
    EXPECT_EQ(RunLength(cut, -12, -12, 1, 0), 36);
}

TEST(BorderGeometry, OnlyRectanglesWiderAndTallerThanOnePixelArePainted) {
    EXPECT_FALSE(BorderIsPaintable(600, 100, 600, 199));  // one pixel wide
    EXPECT_FALSE(BorderIsPaintable(600, 100, 699, 100));  // one pixel high
    EXPECT_TRUE(BorderIsPaintable(600, 100, 601, 101));
}
