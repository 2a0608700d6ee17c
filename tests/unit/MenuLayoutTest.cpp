#include <gtest/gtest.h>

#include "menu/MenuLayout.h"

TEST(MenuLayout, MarginAndColumnFollowTheRoutineAndEffects) {
    EXPECT_EQ(PictureMargin(true, true), 7);
    EXPECT_EQ(PictureMargin(true, false), 4);
    EXPECT_EQ(PictureMargin(false, true), 4);
    EXPECT_EQ(IconColumnWidth(7), 23);
}

TEST(MenuLayout, MeasuredSizes) {
    // Flat: separators are three pixels; items leave room for the column and the gap.
    EXPECT_EQ(SeparatorSize(true, 7, 19), (MenuSize{0, 3}));
    EXPECT_EQ(ItemSize(true, 7, 100, 19), (MenuSize{131, 22}));
    EXPECT_EQ(ItemSize(true, 7, 100, 25), (MenuSize{131, 25}));
    // Classic: the larger of half the picture's room and half the menu height.
    EXPECT_EQ(SeparatorSize(false, 4, 19), (MenuSize{0, 9}));
    EXPECT_EQ(SeparatorSize(false, 4, 31), (MenuSize{0, 15}));
    EXPECT_EQ(ItemSize(false, 4, 100, 19), (MenuSize{133, 19}));
    EXPECT_EQ(ItemSize(false, 4, 100, 12), (MenuSize{133, 19}));
}

TEST(MenuLayout, PictureSitsCentredInItsColumn) {
    const PixelRect item{10, 20, 200, 42};
    EXPECT_EQ(PictureBox(item, 23), (PixelRect{11, 21, 31, 41}));
    EXPECT_EQ(PicturePosition(item, 23), (MenuPoint{14, 24}));
    EXPECT_EQ(PicturePosition({0, 0, 100, 23}, 20), (MenuPoint{2, 4}));
    // Never above or left of the item when it is smaller than the picture.
    EXPECT_EQ(PicturePosition({5, 5, 100, 15}, 16), (MenuPoint{5, 5}));
}

TEST(MenuLayout, TickAndDotStartNearTheBoxCentre) {
    const MenuPoint origin = CheckGlyphOrigin({11, 21, 31, 41});
    EXPECT_EQ(origin, (MenuPoint{18, 28}));
    const auto tick = TickColumns(origin);
    const int tops[7] = {30, 31, 32, 31, 30, 29, 28};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(tick[i], (MenuPoint{18 + i, tops[i]})) << i;
    EXPECT_EQ(RadioDot(origin), (PixelRect{18, 28, 24, 34}));
    // A side below six pixels starts the glyph at the box's edge.
    EXPECT_EQ(CheckGlyphOrigin({0, 0, 5, 20}), (MenuPoint{0, 7}));
    EXPECT_EQ(CheckGlyphOrigin({0, 0, 6, 5}), (MenuPoint{0, 0}));
}

TEST(MenuLayout, TextAcceleratorAndSeparatorLine) {
    const PixelRect text = FlatTextRect({10, 20, 200, 42}, 23);
    EXPECT_EQ(text, (PixelRect{41, 19, 200, 41}));
    EXPECT_EQ(AcceleratorRect(text), (PixelRect{41, 19, 184, 41}));
    EXPECT_EQ(SeparatorLine({0, 10, 150, 13}, 23, 7), (PixelRect{30, 11, 150, 13}));
}
