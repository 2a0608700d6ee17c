#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "options/GeneralOptions.h"
#include "options/TextDescription.h"

TEST(GeneralOptions, TheSizeIsTakenOnlyForTheFixedRegionWhateverItIs) {
    GeneralOptions o;
    o.width = -5;
    o.height = 0;
    for (int region : {int{RegionNormal}, int{RegionFullScreen}, int{RegionWindow}, -1}) {
        o.region = region;
        RecordSettings s;
        ApplyOptions(o, s);
        EXPECT_EQ(s.RegionType, region);
        EXPECT_EQ(s.Width, RecordSettings{}.Width);
        EXPECT_EQ(s.Height, RecordSettings{}.Height);
    }
    o.region = RegionFixed;
    RecordSettings s;
    ApplyOptions(o, s);
    EXPECT_EQ(s.Width, -5);  // no range is enforced
    EXPECT_EQ(s.Height, 0);
}

namespace {

FontRecord FaceAndHeight(const char* face, int32_t height) {
    FontRecord font{};
    std::strncpy(font.lfFaceName, face, sizeof font.lfFaceName);
    font.lfHeight = height;
    return font;
}

}  // namespace

TEST(TextDescription, NamesTheFaceAndTheHeightsMagnitude) {
    EXPECT_EQ(DescribeFont(FaceAndHeight("Arial", -13)), "Font Name: Arial \nFont Size: 13");
    EXPECT_EQ(DescribeFont(FaceAndHeight("Courier New", 20)),
              "Font Name: Courier New \nFont Size: 20");
    EXPECT_EQ(DescribeFont(FontRecord{}), "Font Name:  \nFont Size: 0");
}

TEST(TextDescription, ARecordFromTheProfileMayLackTheTerminatorOrHoldTheLowestHeight) {
    const std::string full(32, 'W');
    EXPECT_EQ(DescribeFont(FaceAndHeight(full.c_str(), INT_MIN)),
              "Font Name: " + full + " \nFont Size: 2147483648");
}
