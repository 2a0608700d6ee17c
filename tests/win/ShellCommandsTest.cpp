// What the main window hands to the shell, seen from the other side: the
// player and the browser are stand-ins that write down what they received,
// and the help file and the converter are missing, as on a new machine.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "engine/RecordingState.h"
#include "frame/MainFrame.h"
#include "res/resource.h"
#include "tests/win/DialogDriver.h"
#include "tests/win/MessageBoxes.h"
#include "tests/win/RunningApp.h"
#include "tests/win/Waiting.h"
#include "tests/win/ShellStandIns.h"

namespace {

const std::string Website = BRANTLE_WEBSITE;

class ShellCommandsTest : public ::testing::Test {
protected:
    // A blank in the path: the player must get it as one argument.
    void SetUp() override { PrepareFullScreenRecording("brantle shell test.avi"); }

    // Runs a command whose message box is modal on this thread and answers
    // the box from another one; returns it as "caption|text".
    static std::string BoxOf(const std::function<void()>& command) {
        auto answer = std::async(std::launch::async, [] { return AnswerMessageBox(IDOK); });
        command();
        return answer.get();
    }

    ShellStandIns m_shell;
};

TEST_F(ShellCommandsTest, PlayHandsTheRecordedPathToItsPlayerAndNothingWithoutAPath) {
    const std::string path = RunningApp().Settings.SavePath;
    std::ofstream(path) << "a recording";  // the shell opens only files that exist
    RunningApp().Settings.SavePath.clear();
    SendCommand(ID_RECORD_PLAY);
    RunningApp().Settings.SavePath = path;
    SendCommand(ID_RECORD_PLAY);
    ASSERT_TRUE(m_shell.WaitForStarts(1));
    // The play without a path started nothing: the one start is the second play.
    EXPECT_EQ(m_shell.Starts(), std::vector<std::string>{path});
}

TEST_F(ShellCommandsTest, AutoPlayOpensTheFileOnceTheRecordingHasEnded) {
    RunningApp().Settings.AutoPlay = 1;
    SendCommand(ID_RECORD_START);
    ASSERT_TRUE(WaitUntil([] { return PaneText(2).find(" frames") != std::string::npos; }, 10000));
    EXPECT_TRUE(m_shell.Starts().empty()) << "played while recording";
    SendCommand(ID_RECORD_STOP);
    ASSERT_TRUE(WaitUntil([] { return PaneText(1) == "Recording stopped"; }, 15000));
    ASSERT_TRUE(m_shell.WaitForStarts(1));
    EXPECT_EQ(m_shell.Starts(), std::vector<std::string>{RunningApp().Settings.SavePath});
}

TEST_F(ShellCommandsTest, HelpAndF1WithoutTheHelpFileSayWhereToGetIt) {
    const std::string expected =
        "Brantle for Windows|Can not find help file, please download it from:\n" + Website;
    EXPECT_EQ(BoxOf([] { SendCommand(ID_HELP_CONTENTS); }), expected);
    // F1 through the main window's own accelerator table.
    EXPECT_EQ(BoxOf([] {
                  MSG key{MainWindow(), WM_KEYDOWN, VK_F1, 0x003B0001, 0, {}};
                  auto* frame = static_cast<CFrameWnd*>(RunningApp().m_pMainWnd);
                  ASSERT_TRUE(TranslateAcceleratorA(MainWindow(), frame->Accelerators(), &key));
              }),
              expected);
}

TEST_F(ShellCommandsTest, ConvertWithoutTheConverterSaysWhereToGetIt) {
    EXPECT_EQ(BoxOf([] { SendCommand(ID_FILE_CONVERT); }),
              "Brantle for Windows|Can not find avi2mpg.exe, please download it from:\n" + Website);
}

TEST_F(ShellCommandsTest, WebsiteOpensTheAddressInTheBrowser) {
    SendCommand(ID_HELP_WEBSITE);
    ASSERT_TRUE(m_shell.WaitForStarts(1));
    EXPECT_EQ(m_shell.Starts(), std::vector<std::string>{Website});
}

TEST_F(ShellCommandsTest, EscapeInTheAboutBoxOpensTheWebsiteAndOnlyOkClosesIt) {
    bool stayedOpen = false;
    Driven([] { SendCommand(ID_APP_ABOUT); }, MainWindow(), [&](HWND about) {
        EXPECT_EQ(Caption(about), "About Brantle for Windows");
        GUITHREADINFO focus{};
        focus.cbSize = sizeof focus;
        GetGUIThreadInfo(GetWindowThreadProcessId(about, nullptr), &focus);
        PostMessageA(focus.hwndFocus ? focus.hwndFocus : about, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        EXPECT_TRUE(m_shell.WaitForStarts(1));
        stayedOpen = IsWindowVisible(about) != FALSE;
        Press(about, IDOK);
        EXPECT_TRUE(Closed(about));
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(m_shell.Starts(), std::vector<std::string>{Website});
}

}  // namespace
