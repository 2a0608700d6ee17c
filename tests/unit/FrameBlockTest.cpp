#include <gtest/gtest.h>

#include "engine/FrameBlock.h"

namespace {

struct StrideCase {
    int bitCount, width;
    size_t stride;
};

}  // namespace

TEST(FrameBlock, RowsArePaddedToWholeFourByteWords) {
    const StrideCase cases[] = {
        {1, 1, 4},  {1, 32, 4},    {1, 33, 8},     {4, 7, 4},  {4, 8, 4},      {4, 9, 8},
        {8, 1, 4},  {8, 101, 104}, {8, 104, 104},  {16, 1, 4}, {16, 3, 8},     {16, 101, 204},
        {24, 1, 4}, {24, 3, 12},   {24, 101, 304}, {32, 1, 4}, {32, 101, 404},
    };
    for (const StrideCase& c : cases)
        EXPECT_EQ(FrameStride(c.bitCount, c.width), c.stride) << c.bitCount << " bpp, " << c.width;
}

TEST(FrameBlock, OnlyPalettedDepthsCarryAFullColourTable) {
    EXPECT_EQ(FrameColourCount(1), 2u);
    EXPECT_EQ(FrameColourCount(4), 16u);
    EXPECT_EQ(FrameColourCount(8), 256u);
    EXPECT_EQ(FrameColourCount(16), 0u);
    EXPECT_EQ(FrameColourCount(24), 0u);
    EXPECT_EQ(FrameColourCount(32), 0u);
    EXPECT_EQ(FramePixelOffset(1), 48u);
    EXPECT_EQ(FramePixelOffset(4), 104u);
    EXPECT_EQ(FramePixelOffset(8), 1064u);
    EXPECT_EQ(FramePixelOffset(16), 40u);
    EXPECT_EQ(FramePixelOffset(24), 40u);
    EXPECT_EQ(FramePixelOffset(32), 40u);
}

TEST(FrameBlock, BlockHoldsHeaderTableAndEveryRow) {
    EXPECT_EQ(FrameImageSize(24, 101, 7), 2128u);
    EXPECT_EQ(FrameBlockSize(1, 33, 2), 64u);
    EXPECT_EQ(FrameBlockSize(4, 9, 3), 128u);
    EXPECT_EQ(FrameBlockSize(8, 320, 240), 77864u);
    EXPECT_EQ(FrameBlockSize(16, 101, 7), 1468u);
    EXPECT_EQ(FrameBlockSize(24, 3, 2), 64u);
    EXPECT_EQ(FrameBlockSize(32, 101, 50), 20240u);
    EXPECT_EQ(FrameBlockSize(32, 1024, 768), 3145768u);
}
