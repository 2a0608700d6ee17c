// The main window's recording controller in this process: commands and the
// messages of the recording threads drive it as they do in the program, and
// the test reads the status panes, the command states and the shared state.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <mmsystem.h>

#include <cstdio>
#include <future>
#include <memory>
#include <string>

#include "app/HalvexApp.h"
#include "codecs/BuiltInCompressors.h"
#include "engine/RecordingMessages.h"
#include "engine/RecordingState.h"
#include "frame/MainFrame.h"
#include "region/RegionMessage.h"
#include "res/resource.h"
#include "tests/win/MessageBoxes.h"
#include "tests/win/ScreenProbe.h"

namespace {

CHalvexApp* g_app = nullptr;

CMainFrame& Frame() { return *static_cast<CMainFrame*>(g_app->m_pMainWnd); }
HWND FrameWindow() { return Frame().GetSafeHwnd(); }

std::string PaneText(int pane) {
    char text[256] = {};
    SendMessageA(GetDlgItem(FrameWindow(), ID_VIEW_STATUS_BAR), SB_GETTEXTA, pane,
                 reinterpret_cast<LPARAM>(text));
    return text;
}

bool Enabled(UINT command) {
    CCmdUI ui(command);
    Frame().UpdateCommand(ui);
    return ui.enabled;
}

void Command(UINT id) { SendMessageA(FrameWindow(), WM_COMMAND, id, 0); }

bool Active() { return TheRecordingState.RecordingActive.load() != 0; }

std::string TempAvi(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    return std::string(dir) + name;
}

class MainFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallBuiltInCompressors();
        g_app = new CHalvexApp;
        ASSERT_TRUE(g_app->CreateMainWindow());
    }

    void SetUp() override {
        RecordSettings& s = g_app->Settings;
        s.RegionType = RegionFullScreen;
        s.Minimize = 0;
        s.RecordAudio = 0;
        s.Blink = 0;
        s.AutoPlay = 0;
        s.CurCompressor = 0;
        s.SavePath = TempAvi("brantle_frame_test.avi");
    }

    void TearDown() override {
        Command(ID_RECORD_STOP);
        WaitUntil([] { return PaneText(1) == "Recording stopped" || !Active(); }, 10000);
        WaitUntil([] { return Enabled(ID_RECORD_START); }, 10000);
    }

    // Starts a full-screen recording and waits until frames are written.
    static void StartAndWaitForFrames() {
        SendMessageA(GetDlgItem(FrameWindow(), ID_VIEW_STATUS_BAR), SB_SETTEXTA, 2,
                     reinterpret_cast<LPARAM>(""));
        Command(ID_RECORD_START);
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
    GetWindowRect(FrameWindow(), &r);
    EXPECT_EQ(r.right - r.left, 480);
    EXPECT_EQ(r.bottom - r.top, 360);
    const LONG style = GetWindowLongA(FrameWindow(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
}

TEST_F(MainFrameTest, StatusPanesFollowTheProgressMessages) {
    SendMessageA(FrameWindow(), WM_RECORD_STATUS, 120, 12);
    EXPECT_EQ(PaneText(1), "Recording");
    EXPECT_EQ(PaneText(2), "12 sec  120  frames");
    SendMessageA(FrameWindow(), WM_RECORD_STATUS, static_cast<WPARAM>(-2), 0);
    EXPECT_EQ(PaneText(1), "Paused");
    EXPECT_EQ(PaneText(2), "12 sec  120  frames");
    SendMessageA(FrameWindow(), WM_RECORD_STATUS, static_cast<WPARAM>(-7), 0);
    EXPECT_EQ(PaneText(1), "");
}

TEST_F(MainFrameTest, FullScreenRecordingPausesResumesAndStops) {
    StartAndWaitForFrames();
    EXPECT_EQ(Frame().Controller().RegionOrigin().x, 0);
    EXPECT_EQ(Frame().Controller().RegionOrigin().y, 0);
    EXPECT_EQ(g_app->Settings.Width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(g_app->Settings.Height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_FALSE(Enabled(ID_RECORD_START));
    EXPECT_TRUE(Enabled(ID_RECORD_PAUSE));
    EXPECT_FALSE(Enabled(ID_RECORD_PLAY));

    Command(ID_RECORD_PAUSE);
    const DWORD pauseStart = timeGetTime();
    EXPECT_TRUE(WaitUntil([] { return PaneText(1) == "Paused"; }));
    EXPECT_TRUE(Enabled(ID_RECORD_START));
    EXPECT_FALSE(Enabled(ID_RECORD_PAUSE));
    // The window stays responsive while the threads are parked.
    ASSERT_TRUE(WaitUntil([] { return TheRecordingState.Pause.ParkedThreads() == 1; }));
    WaitUntil([] { return false; }, 1000);
    Command(ID_RECORD_PAUSE);  // a second pause does nothing
    Command(ID_RECORD_START);  // resumes
    const DWORD paused = timeGetTime() - pauseStart;
    EXPECT_NEAR(static_cast<double>(TheRecordingState.PausedTime.load()), paused, 20.0);
    EXPECT_TRUE(WaitUntil([] { return PaneText(1) == "Recording"; }));

    Command(ID_RECORD_STOP);
    EXPECT_FALSE(Active());
    EXPECT_TRUE(WaitForEnd());
    EXPECT_TRUE(Enabled(ID_RECORD_START));
    EXPECT_TRUE(Enabled(ID_RECORD_PLAY));
}

TEST_F(MainFrameTest, StartWhileThePreviousRecordingFinishesWaitsForItsEnd) {
    StartAndWaitForFrames();
    Command(ID_RECORD_STOP);
    Command(ID_RECORD_START);
    // Nothing has been pumped since the stop, so its end cannot have arrived:
    // the start is held, not on its way to a region.
    MSG queued{};
    EXPECT_FALSE(PeekMessageA(&queued, FrameWindow(), WM_USER_REGIONSELECTED,
                              WM_USER_REGIONSELECTED, PM_NOREMOVE));
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

TEST_F(MainFrameTest, AFailedRecordingEnablesStartAgain) {
    g_app->Settings.SavePath = "Z:\\no\\such\\folder\\brantle.avi";
    Command(ID_RECORD_START);
    const std::string box = AnswerMessageBox(IDOK, 15000);
    EXPECT_NE(box.find("Error Creating AVI File"), std::string::npos) << box;
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(Enabled(ID_RECORD_START));
    EXPECT_FALSE(Active());
}

TEST_F(MainFrameTest, CloseIsRefusedWhileRecording) {
    StartAndWaitForFrames();
    // The box is modal on this thread: answered from another one.
    auto answer = std::async(std::launch::async, [] { return AnswerMessageBox(IDOK); });
    SendMessageA(FrameWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(answer.get(), "Brantle for Windows|Recording, Please stop recording!");
    EXPECT_TRUE(IsWindow(FrameWindow()));
    EXPECT_TRUE(Active());
}

TEST_F(MainFrameTest, HookMessagesSetTheCursorAndTheClickStates) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SendMessageA(FrameWindow(), WM_USER_SAVECURSOR_MSG, reinterpret_cast<WPARAM>(arrow),
                 WM_LBUTTONDOWN);
    EXPECT_EQ(TheRecordingState.HookCursor.load(), arrow);
    EXPECT_EQ(TheRecordingState.LeftClickState.load(), 2);
    SendMessageA(FrameWindow(), WM_USER_SAVECURSOR_MSG, 0, WM_RBUTTONDOWN);
    SendMessageA(FrameWindow(), WM_USER_SAVECURSOR_MSG, 0, WM_RBUTTONUP);
    EXPECT_EQ(TheRecordingState.RightClickState.load(), 1);
    EXPECT_EQ(TheRecordingState.HookCursor.load(), nullptr);
}

TEST_F(MainFrameTest, AcceptingTheDefaultCompressorKeepsToItAfterwards) {
    g_app->Settings.CurCompressor = 2;
    SendMessageA(FrameWindow(), WM_USER_RECORDSTART_MSG, 0, 0);
    EXPECT_EQ(g_app->Settings.CurCompressor, -1);
    EXPECT_EQ(g_app->Settings.CurCompressorHandler, 0x4356534Du);  // 'MSVC'
}

}  // namespace
