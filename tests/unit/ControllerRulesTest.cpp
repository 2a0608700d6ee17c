#include <gtest/gtest.h>

#include "frame/ControllerRules.h"

TEST(ControllerStatus, StateCodesSetOnlyTheStatePane) {
    EXPECT_EQ(StatusForMessage(StatusRecording, 99, false).stateText, "Recording");
    EXPECT_EQ(StatusForMessage(StatusPaused, 0, false).stateText, "Paused");
    EXPECT_EQ(StatusForMessage(StatusStopped, 0, false).stateText, "Recording stopped");
    EXPECT_EQ(StatusForMessage(StatusStartFailed, 0, false).stateText, "Start failed");
    EXPECT_EQ(StatusForMessage(-5, 0, false).stateText, "");
    EXPECT_EQ(StatusForMessage(-100000, 0, false).stateText, "");
    for (int code : {StatusPaused, StatusStopped, -5})
        EXPECT_FALSE(StatusForMessage(code, 5, false).setProgress) << code;
    // A start, made or failed, empties the last recording's count.
    for (int code : {StatusRecording, StatusStartFailed}) {
        EXPECT_TRUE(StatusForMessage(code, 5, false).setProgress) << code;
        EXPECT_EQ(StatusForMessage(code, 5, false).progressText, "") << code;
    }
}

TEST(ControllerStatus, AFrameCountShowsSecondsThenFramesWithTwoBlanksAround) {
    const StatusPaneUpdate update = StatusForMessage(120, 12, false);
    EXPECT_EQ(update.stateText, "Recording");
    ASSERT_TRUE(update.setProgress);
    EXPECT_EQ(update.progressText, "12 sec  120  frames");
    EXPECT_EQ(StatusForMessage(0, 0, false).progressText, "0 sec  0  frames");
}

TEST(ControllerStatus, AFrameCountArrivingWhilePausedKeepsPaused) {
    const StatusPaneUpdate update = StatusForMessage(37, 4, true);
    EXPECT_EQ(update.stateText, "Paused");
    EXPECT_EQ(update.progressText, "4 sec  37  frames");
    EXPECT_EQ(StatusForMessage(StatusRecording, 0, true).stateText, "Recording");
}

TEST(ControllerClicks, PressSetsTwoReleaseLowersByOneNeverBelowZero) {
    ClickStates s{0, 0};
    s = ClickStatesAfter(0x201, s);
    EXPECT_EQ(s.left, 2);
    s = ClickStatesAfter(0x202, s);
    EXPECT_EQ(s.left, 1);
    s = ClickStatesAfter(0x202, s);
    s = ClickStatesAfter(0x202, s);
    EXPECT_EQ(s.left, 0);
    EXPECT_EQ(s.right, 0);

    s = ClickStatesAfter(0x204, {1, 0});
    EXPECT_EQ(s.right, 2);
    EXPECT_EQ(s.left, 1);
    s = ClickStatesAfter(0x205, s);
    EXPECT_EQ(s.right, 1);
}

TEST(ControllerClicks, OtherMouseMessagesLeaveBothStates) {
    for (uint32_t message : {0x200u, 0x203u, 0x206u, 0x207u, 0x208u, 0x20Au, 0u}) {
        const ClickStates s = ClickStatesAfter(message, {2, 1});
        EXPECT_EQ(s.left, 2) << message;
        EXPECT_EQ(s.right, 1) << message;
    }
}

TEST(ControllerRegion, TheInclusiveRectangleGivesCornerAndSize) {
    const SelectedRegion r = RegionFromMessage(0x00320064, 0x012101A3);  // (100,50)-(419,289)
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.width, 320);
    EXPECT_EQ(r.height, 240);

    const SelectedRegion full = RegionFromMessage(0, 0x02FF03FF);
    EXPECT_EQ(full.width, 1024);
    EXPECT_EQ(full.height, 768);

    const SelectedRegion onePixel = RegionFromMessage(0x00C8012C, 0x00C8012C);
    EXPECT_EQ(onePixel.width, 1);
    EXPECT_EQ(onePixel.height, 1);
}

TEST(ControllerRegion, AWindowPartlyLeftOfTheScreenKeepsItsNegativeCorner) {
    const SelectedRegion r = RegionFromMessage(0xFFF8FFF6, 0x00C80063);  // (-10,-8)-(99,200)
    EXPECT_EQ(r.left, -10);
    EXPECT_EQ(r.top, -8);
    EXPECT_EQ(r.width, 110);
    EXPECT_EQ(r.height, 209);
}

TEST(ControllerTray, TheTipNamesTheFileBeingWrittenAndFitsTheRecord) {
    EXPECT_EQ(TrayTip(TrayState::Idle, "C:\\v\\take.avi", 128), "Brantle for Windows");
    EXPECT_EQ(TrayTip(TrayState::Recording, "C:\\v\\take (2).avi", 128),
              "Brantle for Windows\nRecording: take (2).avi");
    EXPECT_EQ(TrayTip(TrayState::Paused, "D:take.avi", 128), "Brantle for Windows\nPaused: take.avi");
    const std::string longTip = TrayTip(TrayState::Recording, std::string(300, 'x') + ".avi", 128);
    EXPECT_EQ(longTip.size(), 127u);
    EXPECT_EQ(longTip.substr(124), "...");
}
