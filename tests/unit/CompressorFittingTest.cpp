#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/CompressorFitting.h"

using Size = std::pair<int, int>;

TEST(CompressorFitting, DivHandlersAreRecognisedByTheirFirstThreeLettersExactly) {
    EXPECT_TRUE(IsDivHandler(0x58564944));   // "DIVX"
    EXPECT_TRUE(IsDivHandler(0x33564944));   // "DIV3"
    EXPECT_FALSE(IsDivHandler(0x78766964));  // "divx"
    EXPECT_FALSE(IsDivHandler(FourccMSVC));
}

TEST(CompressorFitting, DivPaddingSharesTwoOrThreeAddedPixelsBetweenBothSides) {
    const CaptureArea padded = PadForDivHandler({10, 10, 101, 50});
    EXPECT_EQ(padded.width, 104);
    EXPECT_EQ(padded.left, 9);
    EXPECT_EQ(padded.height, 52);
    EXPECT_EQ(padded.top, 9);

    const CaptureArea one = PadForDivHandler({0, 0, 103, 100});  // one pixel added, none moved
    EXPECT_EQ(one.width, 104);
    EXPECT_EQ(one.left, 0);
    EXPECT_EQ(one.height, 100);
    EXPECT_EQ(one.top, 0);
}

TEST(CompressorFitting, AlignmentRaisesUnlessThatPassesTheScreenEdge) {
    EXPECT_EQ(AlignSize(101, 2, 1024), 102);
    EXPECT_EQ(AlignSize(101, 8, 1024), 104);
    EXPECT_EQ(AlignSize(104, 8, 1024), 104);
    EXPECT_EQ(AlignSize(1021, 4, 1024), 1024);
    EXPECT_EQ(AlignSize(1021, 8, 1024), 1024);  // reaching the edge is fine
    EXPECT_EQ(AlignSize(1021, 8, 1023), 1016);  // passing it is not
}

TEST(CompressorFitting, TriesTheSizeThenAlignments2To8AndStopsAtTheFirstAccepted) {
    std::vector<Size> asked;
    const FitResult fit = FitToCompressor(101, 75, 1024, 768, [&](int w, int h) {
        asked.emplace_back(w, h);
        return w % 4 == 0 && h % 4 == 0;
    });
    EXPECT_EQ(asked, (std::vector<Size>{{101, 75}, {102, 76}, {104, 76}}));
    EXPECT_TRUE(fit.accepted);
    EXPECT_EQ(fit.width, 104);
    EXPECT_EQ(fit.height, 76);
}

TEST(CompressorFitting, AcceptedAsItIsAsksOnce) {
    int calls = 0;
    const FitResult fit = FitToCompressor(320, 240, 1024, 768, [&](int, int) {
        ++calls;
        return true;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(fit.accepted);
    EXPECT_EQ(fit.width, 320);
}

TEST(CompressorFitting, RefusedEverywhereEndsAtThe8AlignedSize) {
    std::vector<Size> asked;
    const FitResult fit = FitToCompressor(1019, 765, 1020, 766, [&](int w, int h) {
        asked.emplace_back(w, h);
        return false;
    });
    EXPECT_EQ(asked, (std::vector<Size>{{1019, 765}, {1020, 766}, {1020, 764}, {1016, 760}}));
    EXPECT_FALSE(fit.accepted);
    EXPECT_EQ(fit.width, 1016);
    EXPECT_EQ(fit.height, 760);
}
