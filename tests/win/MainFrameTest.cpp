// The main window's recording controller in this process: commands and the
// messages of the recording threads drive it as they do in the program, and
// the test reads the status panes, the command states and the shared state.
#include <windows.h>

#include <mmsystem.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

#include "engine/RecordingMessages.h"
#include "engine/RecordingState.h"
#include "region/RegionMessage.h"
#include "res/resource.h"
#include "tests/win/MessageBoxes.h"
#include "tests/win/RunningApp.h"
#include "tests/win/Waiting.h"

namespace {

bool Active() { return TheRecordingState.RecordingActive.load() != 0; }

// Whether the window answers a message that another thread sends it while
// this thread, the window's, pumps.
bool AnswersAnotherThread(HWND window) {
    auto answer = std::async(std::launch::async, [window] {
        DWORD_PTR unused = 0;
        return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &unused) != 0;
    });
    WaitUntil([&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
              10000);
    return answer.get();
}

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override { PrepareFullScreenRecording("brantle_frame_test.avi"); }

    void TearDown() override {
        SendCommand(ID_RECORD_STOP);
        WaitUntil([] { return PaneText(1) == "Recording stopped" || !Active(); }, 10000);
        WaitUntil([] { return CommandEnabled(ID_RECORD_START); }, 10000);
    }

    // Starts a full-screen recording and waits until frames are written.
    static void StartAndWaitForFrames() {
        SendMessageA(GetDlgItem(MainWindow(), ID_VIEW_STATUS_BAR), SB_SETTEXTA, 2,
                     reinterpret_cast<LPARAM>(""));
        SendCommand(ID_RECORD_START);
        ASSERT_TRUE(WaitUntil([] { return Active(); }, 5000));
        ASSERT_TRUE(WaitUntil([] { return PaneText(2).find(" frames") != std::string::npos; },
                              10000));
    }

    static bool WaitForEnd() {
        return WaitUntil([] { return PaneText(1) == "Recording stopped"; }, 15000);
    }
};

TEST_F(MainFrameTest, WindowIsAFixedFrameOf480By360) {
    RECT r{};
    GetWindowRect(MainWindow(), &r);
    EXPECT_EQ(r.right - r.left, 480);
    EXPECT_EQ(r.bottom - r.top, 360);
    const LONG style = GetWindowLongA(MainWindow(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
}

TEST_F(MainFrameTest, StatusPanesFollowTheProgressMessages) {
    SendMessageA(MainWindow(), WM_RECORD_STATUS, 120, 12);
    EXPECT_EQ(PaneText(1), "Recording");
    EXPECT_EQ(PaneText(2), "12 sec  120  frames");
    SendMessageA(MainWindow(), WM_RECORD_STATUS, static_cast<WPARAM>(-2), 0);
    EXPECT_EQ(PaneText(1), "Paused");
    EXPECT_EQ(PaneText(2), "12 sec  120  frames");
    SendMessageA(MainWindow(), WM_RECORD_STATUS, static_cast<WPARAM>(-7), 0);
    EXPECT_EQ(PaneText(1), "");
}

TEST_F(MainFrameTest, FullScreenRecordingPausesResumesAndStops) {
    StartAndWaitForFrames();
    EXPECT_EQ(RegionOrigin().x, 0);
    EXPECT_EQ(RegionOrigin().y, 0);
    EXPECT_EQ(RunningApp().Settings.Width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(RunningApp().Settings.Height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_FALSE(CommandEnabled(ID_RECORD_START));
    EXPECT_TRUE(CommandEnabled(ID_RECORD_PAUSE));
    EXPECT_FALSE(CommandEnabled(ID_RECORD_PLAY));

    SendCommand(ID_RECORD_PAUSE);
    const DWORD pauseStart = timeGetTime();
    EXPECT_TRUE(WaitUntil([] { return PaneText(1) == "Paused"; }));
    EXPECT_TRUE(CommandEnabled(ID_RECORD_START));
    EXPECT_FALSE(CommandEnabled(ID_RECORD_PAUSE));
    // The window stays responsive while the threads are parked: after a
    // second in which they stay in their park and no frame is counted, it
    // still answers another thread.
    ASSERT_TRUE(WaitUntil([] { return TheRecordingState.Pause.ParkedThreads() == 2; }));
    const DWORD parkedAt = timeGetTime();
    const std::string counted = PaneText(2);
    EXPECT_TRUE(WaitUntilKeeping([&] { return timeGetTime() - parkedAt >= 1000; },
                                 [&] {
                                     return TheRecordingState.Pause.ParkedThreads() == 2 &&
                                            PaneText(1) == "Paused" && PaneText(2) == counted;
                                 },
                                 10000));
    EXPECT_TRUE(AnswersAnotherThread(MainWindow()));
    SendCommand(ID_RECORD_PAUSE);  // a second pause does nothing
    SendCommand(ID_RECORD_START);  // resumes
    const DWORD paused = timeGetTime() - pauseStart;
    EXPECT_NEAR(static_cast<double>(TheRecordingState.PausedTime.load()), paused, 20.0);
    EXPECT_TRUE(WaitUntil([] { return PaneText(1) == "Recording"; }));

    SendCommand(ID_RECORD_STOP);
    EXPECT_FALSE(Active());
    EXPECT_TRUE(WaitForEnd());
    EXPECT_TRUE(CommandEnabled(ID_RECORD_START));
    EXPECT_TRUE(CommandEnabled(ID_RECORD_PLAY));
}

TEST_F(MainFrameTest, StartWhileThePreviousRecordingFinishesWaitsForItsEnd) {
    StartAndWaitForFrames();
    SendCommand(ID_RECORD_STOP);
    SendCommand(ID_RECORD_START);
    // Nothing has been pumped since the stop, so its end cannot have arrived:
    // the start is held, not on its way to a region.
    MSG queued{};
    EXPECT_FALSE(PeekMessageA(&queued, MainWindow(), WM_USER_REGIONSELECTED, WM_USER_REGIONSELECTED,
                              PM_NOREMOVE));
    // The held start must not begin before the first recording has closed its file.
    bool startedEarly = false;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const bool ended = PaneText(1) == "Recording stopped";
            if (Active() && !ended) startedEarly = true;
            return ended;
        },
        15000));
    EXPECT_FALSE(startedEarly);
    EXPECT_TRUE(WaitUntil([] { return Active(); }, 5000));
    EXPECT_TRUE(WaitUntil([] { return PaneText(1) == "Recording"; }));
}

TEST_F(MainFrameTest, AFailedStartSaysSoAndEnablesStartAgain) {
    RunningApp().Settings.SavePath = "Z:\\no\\such\\folder\\brantle.avi";
    SendCommand(ID_RECORD_START);
    const std::string box = AnswerMessageBox(IDOK, 15000);
    EXPECT_NE(box.find("Error Creating AVI File"), std::string::npos) << box;
    ASSERT_TRUE(WaitUntil([] { return CommandEnabled(ID_RECORD_START); }, 15000));
    EXPECT_EQ(PaneText(1), "Start failed");
    EXPECT_FALSE(Active());
}

TEST_F(MainFrameTest, CloseIsRefusedWhileRecording) {
    StartAndWaitForFrames();
    // The box is modal on this thread: answered from another one.
    auto answer = std::async(std::launch::async, [] { return AnswerMessageBox(IDOK); });
    SendMessageA(MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(answer.get(), "Brantle for Windows|Recording, Please stop recording!");
    EXPECT_TRUE(IsWindow(MainWindow()));
    EXPECT_TRUE(Active());
}

TEST_F(MainFrameTest, HookMessagesSetTheCursorAndTheClickStates) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SendMessageA(MainWindow(), WM_USER_SAVECURSOR_MSG, reinterpret_cast<WPARAM>(arrow),
                 WM_LBUTTONDOWN);
    EXPECT_EQ(TheRecordingState.HookCursor.load(), arrow);
    EXPECT_EQ(TheRecordingState.LeftClickState.load(), 2);
    SendMessageA(MainWindow(), WM_USER_SAVECURSOR_MSG, 0, WM_RBUTTONDOWN);
    SendMessageA(MainWindow(), WM_USER_SAVECURSOR_MSG, 0, WM_RBUTTONUP);
    EXPECT_EQ(TheRecordingState.RightClickState.load(), 1);
    EXPECT_EQ(TheRecordingState.HookCursor.load(), nullptr);
}

TEST_F(MainFrameTest, AcceptingTheDefaultCompressorKeepsToItAfterwards) {
    RunningApp().Settings.CurCompressor = 2;
    SendMessageA(MainWindow(), WM_USER_RECORDSTART_MSG, 0, 0);
    EXPECT_EQ(RunningApp().Settings.CurCompressor, -1);
    EXPECT_EQ(RunningApp().Settings.CurCompressorHandler, 0x4356534Du);  // 'MSVC'
}

}  // namespace
