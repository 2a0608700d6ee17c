// A recording made after the settings were changed through the option
// dialogs shows them: the fixed region's size, the text line at its place
// in its colour, and click marks in the chosen colours, exactly, as the
// default compressor keeps them and the platform's player decodes them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "engine/RecordingState.h"
#include "res/resource.h"
#include "tests/win/DialogDriver.h"
#include "tests/win/OptionDialogDriver.h"
#include "tests/win/PlatformFilm.h"
#include "tests/win/RunningApp.h"
#include "tests/win/ScreenProbe.h"
#include "tests/win/SelectionHarness.h"
#include "tests/win/TestPaths.h"
#include "tests/win/Waiting.h"

namespace {

constexpr COLORREF Red = RGB(255, 0, 0), Green = RGB(0, 255, 0), Blue = RGB(0, 0, 255);
constexpr int RegionWidth = 320, RegionHeight = 240;
constexpr POINT TextAt = {12, 8};
// The fixed-size rectangle is centred on the cursor when it is placed; the
// clicks are made there too, without moving: under Wine a button pressed
// after a move can put the cursor back where the last click was.
constexpr POINT RegionCentre = {RegionWidth / 2, RegionHeight / 2};
constexpr POINT PlacedAt = {512, 384};

void SetCheck(HWND dialog, int id, bool on) {
    if (Checked(dialog, id) != on) Click(dialog, id);
}

void ChooseEverythingInTheDialogs() {
    FromMenu([&](HWND dialog) {
        for (int id : {IDC_OPTION_MINIMIZE, IDC_OPTION_CURSOR, IDC_OPTION_BLINK, IDC_OPTION_AUDIO,
                       IDC_OPTION_AUTOPLAY, IDC_OPTION_LAYERED})
            SetCheck(dialog, id, false);
        SetCheck(dialog, IDC_OPTION_MOUSE_DOWN, true);
        SetCheck(dialog, IDC_OPTION_TEXT, true);
        Click(dialog, IDC_OPTION_REGION_FIXED);
        Type(dialog, IDC_OPTION_WIDTH, std::to_string(RegionWidth));
        Type(dialog, IDC_OPTION_HEIGHT, std::to_string(RegionHeight));
        OpenFrom(dialog, IDC_OPTION_MOUSE_DOWN_MORE, [](HWND colours) {
            OpenFrom(colours, IDC_MOUSEDOWN_LEFT_SET, [](HWND p) { PickColour(p, Blue); });
            OpenFrom(colours, IDC_MOUSEDOWN_RIGHT_SET, [](HWND p) { PickColour(p, Green); });
            Press(colours, IDOK);
        });
        OpenFrom(dialog, IDC_OPTION_TEXT_MORE, [](HWND text) {
            Type(text, IDC_TEXT_STRING, "Brantle");
            Type(text, IDC_TEXT_X, std::to_string(TextAt.x));
            Type(text, IDC_TEXT_Y, std::to_string(TextAt.y));
            OpenFrom(text, IDC_TEXT_FONT,
                     [](HWND font) { EXPECT_TRUE(PickFont(font, TestFontFace, "28", Red)); });
            Press(text, IDOK);
        });
        Press(dialog, IDOK);
    });
}

void MouseButton(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

// Holds a button down until a few frames more are written, and lets it go.
void HoldButton(bool right, const std::atomic<int32_t>& state) {
    MouseButton(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitUntil([&] { return state.load() == 2; }));
    const int before = FramesShown();
    EXPECT_TRUE(WaitUntil([&] { return FramesShown() >= before + 3; }, 5000));
    MouseButton(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitUntil([&] { return state.load() == 0; }));
}

bool SomeFrameShows(const PlatformFilm& film, POINT p, COLORREF colour) {
    for (size_t i = 0; i < film.pictures.size(); ++i)
        if (film.At(i, p) == colour) return true;
    return false;
}

// The smallest rectangle holding every pixel of the colour in the picture.
RECT ExtentOf(const PlatformFilm& film, size_t picture, COLORREF colour, int& count) {
    RECT extent = {film.width, film.height, 0, 0};
    count = 0;
    for (LONG y = 0; y < film.height; ++y)
        for (LONG x = 0; x < film.width; ++x) {
            if (film.At(picture, {x, y}) != colour) continue;
            ++count;
            extent = {std::min(extent.left, x), std::min(extent.top, y),
                      std::max(extent.right, x + 1), std::max(extent.bottom, y + 1)};
        }
    return extent;
}

// A white window under the recorded region, so that the marks, which are
// ANDed into the picture, keep their colours.
class WhiteBackdrop : public CWnd {
public:
    WhiteBackdrop() {
        CreateEx(0,
                 AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))),
                 "White", WS_POPUP | WS_VISIBLE, 112, 84, 800, 600, nullptr, nullptr);
        UpdateWindow(m_hWnd);
    }
};

}  // namespace

TEST(OptionsRecording, ShowsTheFixedRegionTheTextAndTheClickColoursChosenInTheDialogs) {
    RecordSettings& settings = RunningApp().Settings;
    settings = RecordSettings{};
    settings.CurCompressor = LosslessCompressorEntry;
    settings.RegionType = RegionFullScreen;
    settings.SavePath = FreshTempPath("brantle_options_recording.avi");
    ForgetSavedSettings();

    ChooseEverythingInTheDialogs();
    ASSERT_EQ(settings.RegionType, RegionFixed);
    EXPECT_EQ(settings.LeftColor, Blue);
    EXPECT_EQ(settings.RightColor, Green);
    EXPECT_EQ(settings.TextColor, Red);

    WhiteBackdrop backdrop;
    ASSERT_TRUE(WaitUntil([] {
        return ScreenShot({500, 380, 501, 381}).At(500, 380) == RGB(255, 255, 255);
    }));
    SendCommand(ID_RECORD_START);
    // The fixed-size rectangle follows the cursor; a click places it.
    const HWND selection = RunningApp().MouseCaptureWnd.GetSafeHwnd();
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(selection); }));
    ASSERT_TRUE(PutCursorAt(PlacedAt.x, PlacedAt.y));
    PressLeft();
    ReleaseLeft();
    ASSERT_TRUE(WaitUntil([] { return TheRecordingState.RecordingActive.load() != 0; }));
    ASSERT_TRUE(WaitUntil([] { return FramesShown() > 0; }, 10000));
    HoldButton(false, TheRecordingState.LeftClickState);
    HoldButton(true, TheRecordingState.RightClickState);
    SendCommand(ID_RECORD_STOP);
    ASSERT_TRUE(WaitUntil([] { return PaneText(1) == "Recording stopped"; }, 15000));

    const PlatformFilm film = DecodeWithPlatform(settings.SavePath);
    EXPECT_EQ(film.compression, mmioFOURCC('Z', 'M', 'B', 'V'));  // the default compressor
    ASSERT_TRUE(film.decoded);
    ASSERT_EQ(film.width, RegionWidth);
    ASSERT_EQ(film.height, RegionHeight);
    ASSERT_GE(film.pictures.size(), 6u);
    EXPECT_EQ(RegionOrigin().x, PlacedAt.x - RegionCentre.x);
    EXPECT_EQ(RegionOrigin().y, PlacedAt.y - RegionCentre.y);
    EXPECT_EQ(film.At(0, RegionCentre), RGB(255, 255, 255));
    EXPECT_TRUE(SomeFrameShows(film, RegionCentre, Blue));
    EXPECT_TRUE(SomeFrameShows(film, RegionCentre, Green));
    for (size_t picture : {size_t{0}, film.pictures.size() - 1}) {
        int count = 0;
        const RECT text = ExtentOf(film, picture, Red, count);
        EXPECT_GT(count, 150);
        // The line starts at its position; 28 points keep it within 50 rows.
        EXPECT_GE(text.left, TextAt.x);
        EXPECT_LT(text.left, TextAt.x + 10);
        EXPECT_GE(text.top, TextAt.y);
        EXPECT_LT(text.bottom, TextAt.y + 50);
    }
    DeleteFileA(settings.SavePath.c_str());
}
