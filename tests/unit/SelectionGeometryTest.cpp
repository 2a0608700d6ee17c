#include <gtest/gtest.h>

#include "region/SelectionGeometry.h"

namespace {

constexpr int ScreenW = 1024, ScreenH = 768;

}  // namespace

TEST(SelectionGeometry, NormalizeSwapsEachAxisOnItsOwn) {
    EXPECT_EQ(Normalize({300, 200, 100, 50}), (PixelRect{100, 50, 300, 200}));
    EXPECT_EQ(Normalize({100, 200, 300, 50}), (PixelRect{100, 50, 300, 200}));
    EXPECT_EQ(Normalize({300, 50, 100, 200}), (PixelRect{100, 50, 300, 200}));
    EXPECT_EQ(Normalize({7, 9, 7, 9}), (PixelRect{7, 9, 7, 9}));
}

TEST(SelectionGeometry, CentredRectIsInclusiveAndOddSizesLeanRight) {
    EXPECT_EQ(CentredRect(500, 400, 320, 240), (PixelRect{340, 280, 659, 519}));
    EXPECT_EQ(CentredRect(10, 10, 5, 3), (PixelRect{8, 9, 12, 11}));
    EXPECT_EQ(CentredRect(10, 10, 1, 1), (PixelRect{10, 10, 10, 10}));
}

TEST(SelectionGeometry, FixedRectNearTheTopLeftCornerStaysAtTheOrigin) {
    for (int x = 0; x <= 160; x += 8)
        for (int y = 0; y <= 120; y += 6) {
            const FixedPlacement p = PlaceFixedRect(x, y, 320, 240, ScreenW, ScreenH);
            ASSERT_EQ(p.rect, (PixelRect{0, 0, 319, 239})) << x << "," << y;
            ASSERT_EQ(p.centreX, 160);
            ASSERT_EQ(p.centreY, 120);
        }
    // One pixel further the rectangle follows the cursor again.
    EXPECT_EQ(PlaceFixedRect(161, 121, 320, 240, ScreenW, ScreenH).rect,
              (PixelRect{1, 1, 320, 240}));
}

TEST(SelectionGeometry, FixedRectIsPushedBackFromTheRightAndBottomEdges) {
    const FixedPlacement p = PlaceFixedRect(1023, 767, 320, 240, ScreenW, ScreenH);
    EXPECT_EQ(p.rect, (PixelRect{704, 528, 1023, 767}));
    EXPECT_EQ(p.centreX, 864);
    EXPECT_EQ(p.centreY, 648);
}

TEST(SelectionGeometry, FixedWidthLargerThanTheScreenEndsAtTheRightEdgeWithNegativeLeft) {
    // The left test runs first and is then overruled by the right test.
    const FixedPlacement p = PlaceFixedRect(500, 300, 2000, 100, ScreenW, ScreenH);
    EXPECT_EQ(p.rect, (PixelRect{-976, 250, 1023, 349}));
    EXPECT_EQ(p.centreX, 24);
    const FixedPlacement tall = PlaceFixedRect(500, 300, 100, 1000, ScreenW, ScreenH);
    EXPECT_EQ(tall.rect, (PixelRect{450, -232, 549, 767}));
}

TEST(SelectionGeometry, TheRectangleCentredOnTheCorrectedCentreIsTheOneDrawn) {
    // The release posts the rectangle around the stored centre, so it must be
    // exactly the placed one, for odd sizes and at every edge.
    for (int w : {1, 2, 319, 320, 1023, 1024, 1500})
        for (int h : {1, 3, 240, 767, 900})
            for (int x : {0, 5, 400, 1019, 1023})
                for (int y : {0, 2, 300, 766, 767}) {
                    const FixedPlacement p = PlaceFixedRect(x, y, w, h, ScreenW, ScreenH);
                    ASSERT_EQ(CentredRect(p.centreX, p.centreY, w, h), p.rect)
                        << w << "x" << h << " at " << x << "," << y;
                }
}

TEST(SelectionLabelPlacement, AboveTheRectangleWhenThereIsRoom) {
    const LabelBox b = PlaceLabel({100, 200, 400, 300}, 80, 16, ScreenW);
    EXPECT_EQ(b.width, 90);
    EXPECT_EQ(b.height, 22);
    EXPECT_EQ(b.x, 100);
    EXPECT_EQ(b.y, 200 - 22 - 3);
}

TEST(SelectionLabelPlacement, BelowTheRectangleWhenItsTopIsNearTheScreenTop) {
    // H + 10 = 32: a top of 31 has no room above, 32 has.
    EXPECT_EQ(PlaceLabel({100, 31, 400, 300}, 80, 16, ScreenW).y, 303);
    EXPECT_EQ(PlaceLabel({100, 32, 400, 300}, 80, 16, ScreenW).y, 7);
    EXPECT_EQ(PlaceLabel({0, 0, 319, 239}, 80, 16, ScreenW).y, 242);
}

TEST(SelectionLabelPlacement, PulledLeftToEndAtTheScreensRightEdge) {
    EXPECT_EQ(PlaceLabel({1000, 300, 1023, 400}, 80, 16, ScreenW).x, 1024 - 90);
    EXPECT_EQ(PlaceLabel({934, 300, 1023, 400}, 80, 16, ScreenW).x, 934);
    EXPECT_EQ(PlaceLabel({935, 300, 1023, 400}, 80, 16, ScreenW).x, 934);
}

TEST(SelectionGeometry, ARectangleUnderFourPixelsEitherWayIsTooSmallToRecord) {
    EXPECT_TRUE(TooSmallToRecord({321, 123, 321, 123}));  // a click
    EXPECT_TRUE(TooSmallToRecord({100, 100, 102, 400}));  // 3 wide
    EXPECT_TRUE(TooSmallToRecord({100, 400, 400, 398}));  // 3 high, dragged upwards
    EXPECT_FALSE(TooSmallToRecord({100, 100, 103, 103}));
    EXPECT_FALSE(TooSmallToRecord({103, 103, 100, 100}));
}
