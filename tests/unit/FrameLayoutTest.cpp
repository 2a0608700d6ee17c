#include <gtest/gtest.h>

#include <vector>

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
