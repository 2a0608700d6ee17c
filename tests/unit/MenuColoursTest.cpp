#include <gtest/gtest.h>

#include <limits>

#include "menu/MenuColours.h"
#include "menu/PictureVariants.h"

namespace {

constexpr MenuColour Rgb(int r, int g, int b) { return MakeMenuColour(r, g, b); }

}  // namespace

TEST(MenuColours, LightenAndDarkenTruncateEachChannel) {
    EXPECT_EQ(Lighten(Rgb(0, 0, 0), 0.5), Rgb(127, 127, 127));  // 127.5
    EXPECT_EQ(Lighten(Rgb(100, 200, 255), 0.3), Rgb(146, 216, 255));
    EXPECT_EQ(Lighten(Rgb(10, 20, 30), 1.0), Rgb(255, 255, 255));
    EXPECT_EQ(Darken(Rgb(255, 100, 1), 0.02), Rgb(249, 98, 0));  // 249.9, 98, 0.98
    EXPECT_EQ(Darken(Rgb(10, 20, 30), 1.0), Rgb(0, 0, 0));
}

TEST(MenuColours, FactorsOutsideZeroToOneLeaveTheColour) {
    const MenuColour c = Rgb(12, 34, 56);
    for (double f : {0.0, -0.5, 1.01, 7.0, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(Lighten(c, f), c) << f;
        EXPECT_EQ(Darken(c, f), c) << f;
    }
}

TEST(MenuColours, FlatColoursOfBothLooks) {
    const SystemMenuColours system{Rgb(255, 255, 255), Rgb(245, 245, 245), Rgb(166, 166, 166),
                                   Rgb(48, 150, 250),  Rgb(0, 0, 0),       Rgb(166, 166, 166)};
    const FlatMenuColours other = FlatColours(system, false);
    EXPECT_EQ(other.background, Rgb(249, 249, 249));
    EXPECT_EQ(other.column, Rgb(247, 247, 247));
    EXPECT_EQ(other.highlight, Rgb(48, 150, 250));
    EXPECT_EQ(other.selection, Rgb(223, 239, 254));
    EXPECT_EQ(other.checkedSelected, Rgb(161, 207, 252));
    EXPECT_EQ(other.checkedUnselected, Rgb(223, 239, 254));
    EXPECT_EQ(other.text, Rgb(0, 0, 0));
    EXPECT_EQ(other.disabledText, Rgb(201, 201, 201));

    const FlatMenuColours xp = FlatColours(system, true);
    EXPECT_EQ(xp.background, other.background);
    EXPECT_EQ(xp.column, Rgb(245, 245, 245));
    EXPECT_EQ(xp.selection, Rgb(192, 223, 253));
    EXPECT_EQ(xp.checkedSelected, other.checkedSelected);
    EXPECT_EQ(xp.disabledText, Rgb(166, 166, 166));

    EXPECT_EQ(ShadowVariantColour(Rgb(166, 166, 166), true), Rgb(166, 166, 166));
    EXPECT_EQ(ShadowVariantColour(Rgb(166, 166, 166), false), Rgb(209, 209, 209));
}

TEST(MenuPictureVariants, EachVariantChangesOnlyThePicturePixels) {
    const MenuColour face = Rgb(245, 245, 245), shadow = Rgb(166, 166, 166);
    const MenuPixels picture{
        face, Rgb(100, 200, 255), Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(60, 90, 120), face};
    const PictureVariants v = MakePictureVariants(picture, face, Rgb(1, 2, 3), shadow);

    EXPECT_EQ(v.faded, (MenuPixels{face, Rgb(146, 216, 255), Rgb(76, 76, 76), Rgb(255, 255, 255),
                                   Rgb(118, 139, 160), face}));
    EXPECT_EQ(v.shadow,
              (MenuPixels{face, Rgb(1, 2, 3), Rgb(1, 2, 3), Rgb(1, 2, 3), Rgb(1, 2, 3), face}));
    // The button shadow lightened by the pixel's brightness: 185 / 255 for
    // the first, none for black (a factor of 0), all the way for white.
    EXPECT_EQ(v.grey, (MenuPixels{face, Rgb(230, 230, 230), shadow, Rgb(255, 255, 255),
                                  Rgb(197, 197, 197), face}));
}
