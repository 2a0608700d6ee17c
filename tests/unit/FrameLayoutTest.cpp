#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "frame/PictureColours.h"
#include "framework/CommandStrings.h"
#include "framework/StatusPanes.h"

TEST(StatusPanes, FixedPanesKeepTheirWidthAndTheStretchingOneTakesTheRest) {
    const std::vector<StatusPane> panes{{120, false, false}, {80, false, false}, {50, true, true}};
    EXPECT_EQ(PaneRightEdges(panes, 470), (std::vector<int>{120, 200, 470}));
    // Too narrow: the stretching pane keeps its least width past the bar's end.
    EXPECT_EQ(PaneRightEdges(panes, 220), (std::vector<int>{120, 200, 250}));
}

TEST(StatusPanes, AStretchingPaneInTheMiddlePushesTheFixedOnesRight) {
    const std::vector<StatusPane> panes{{10, false, false}, {5, true, false}, {30, false, false}};
    EXPECT_EQ(PaneRightEdges(panes, 100), (std::vector<int>{10, 70, 100}));
}

TEST(StatusPanes, APaneFitsItsWidestTextWithItsMarginsButKeepsItsLeastWidth) {
    EXPECT_EQ(PaneWidthForTexts({50, 97, 12}, 11, 80), 108);
    EXPECT_EQ(PaneWidthForTexts({50, 30}, 11, 80), 80);
    EXPECT_EQ(PaneWidthForTexts({}, 11, 80), 80);
}

TEST(CommandStrings, PromptBeforeTheLineBreakTipAfterIt) {
    EXPECT_EQ(CommandPrompt("Start Recording\nStart Tip"), "Start Recording");
    EXPECT_EQ(CommandTip("Start Recording\nStart Tip"), "Start Tip");
    EXPECT_EQ(CommandPrompt("About Brantle ...\nBrantle ..."), "About Brantle ...");
    EXPECT_EQ(CommandPrompt("Only a prompt"), "Only a prompt");
    EXPECT_EQ(CommandTip("Only a prompt"), "Only a prompt");
    EXPECT_EQ(CommandTip("Prompt\n"), "");
    EXPECT_EQ(CommandPrompt(""), "");
}

TEST(PictureColours, OnlyExactRedBecomesTheFaceColourAndRowPaddingIsLeftAlone) {
    // Two rows of three pixels, blue-green-red, each row padded to 12 bytes.
    std::vector<uint8_t> bits{0, 0,   255, 1, 0, 255, 0, 0, 255, 0xAA, 0xAA, 0xAA,
                              0, 0,   254, 0, 0, 0,   0, 0, 255, 0xAA, 0xAA, 0xAA};
    ReplacePureRed(bits.data(), 3, 2, 12, 0x00C0D0E0);  // COLORREF: red E0, green D0, blue C0
    const std::vector<uint8_t> expected{0xC0, 0xD0, 0xE0, 1, 0, 255, 0xC0, 0xD0, 0xE0, 0xAA, 0xAA,
                                        0xAA, 0,    0,    254, 0, 0, 0,   0xC0, 0xD0, 0xE0, 0xAA,
                                        0xAA, 0xAA};
    EXPECT_EQ(bits, expected);
}
