// The Option dialog and the two dialogs behind its "..." buttons, opened
// from the menu command of the program's main window in this process and
// driven through their controls from a second thread, while the test reads
// what reaches the settings and the profile.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "region/RegionMessage.h"
#include "res/resource.h"
#include "tests/win/DialogDriver.h"
#include "tests/win/OptionDialogDriver.h"
#include "tests/win/RunningApp.h"
#include "tests/win/ScreenProbe.h"
#include "tests/win/SelectionHarness.h"
#include "tests/win/Waiting.h"

namespace {

// The eight switches: their check boxes and their settings, in one order.
const int SwitchBoxes[] = {IDC_OPTION_MINIMIZE, IDC_OPTION_CURSOR,     IDC_OPTION_LAYERED,
                           IDC_OPTION_BLINK,    IDC_OPTION_MOUSE_DOWN, IDC_OPTION_TEXT,
                           IDC_OPTION_AUDIO,    IDC_OPTION_AUTOPLAY};
const char* const SwitchNames[] = {"Minimize",      "ShowCursor", "LayeredCapture", "Blink",
                                   "ShowMouseDown", "ShowText",   "RecordAudio",    "AutoPlay"};
const int RegionButtons[] = {IDC_OPTION_REGION_NORMAL, IDC_OPTION_REGION_FIXED,
                             IDC_OPTION_REGION_FULL, IDC_OPTION_REGION_WINDOW};

std::vector<int> Switches(const RecordSettings& s) {
    return {s.Minimize,      s.ShowCursor, s.LayeredCapture, s.Blink,
            s.ShowMouseDown, s.ShowText,   s.RecordAudio,    s.AutoPlay};
}

void SetSwitches(RecordSettings& s, const std::vector<int>& on) {
    int* fields[] = {&s.Minimize,      &s.ShowCursor, &s.LayeredCapture, &s.Blink,
                     &s.ShowMouseDown, &s.ShowText,   &s.RecordAudio,    &s.AutoPlay};
    for (size_t i = 0; i < on.size(); ++i) *fields[i] = on[i];
}

std::vector<int> ShownSwitches(HWND dialog) {
    std::vector<int> shown;
    for (int id : SwitchBoxes) shown.push_back(Checked(dialog, id));
    return shown;
}

std::vector<int> StoredSwitches() {
    std::vector<int> stored;
    for (const char* name : SwitchNames) stored.push_back(SavedInt(name));
    return stored;
}

// The position of the checked region button, -1 when none is, 99 when several are.
int ShownRegion(HWND dialog) {
    int shown = -1;
    for (int i = 0; i < 4; ++i)
        if (Checked(dialog, RegionButtons[i])) shown = shown < 0 ? i : 99;
    return shown;
}

// "Select ...", X and Y, which are usable together or not at all.
std::vector<bool> SizeControlsEnabled(HWND dialog) {
    return {Enabled(dialog, IDC_OPTION_SELECT), Enabled(dialog, IDC_OPTION_WIDTH),
            Enabled(dialog, IDC_OPTION_HEIGHT)};
}
const std::vector<bool> AllOn = {true, true, true}, AllOff = {false, false, false};

RecordSettings& Settings() { return RunningApp().Settings; }

class OptionDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        Settings() = RecordSettings{};
        ForgetSavedSettings();
    }
};

}  // namespace

TEST_F(OptionDlgTest, ShowsTheSettingsAndCancelChangesNothing) {
    SetSwitches(Settings(), {1, 0, 1, 0, 1, 0, 1, 1});
    Settings().RegionType = RegionFixed;
    Settings().Width = 321;
    Settings().Height = 241;
    const RecordSettings before = Settings();
    EXPECT_TRUE(CommandEnabled(ID_OPTIONS_RECORD));

    FromMenu([&](HWND dialog) {
        SaveDialogForReview(dialog, "option_dialog");
        EXPECT_EQ(Caption(dialog), "Option");
        EXPECT_EQ(ShownSwitches(dialog), Switches(before));
        EXPECT_EQ(ShownRegion(dialog), RegionFixed);
        EXPECT_EQ(Text(dialog, IDC_OPTION_WIDTH), "321");
        EXPECT_EQ(Text(dialog, IDC_OPTION_HEIGHT), "241");
        EXPECT_EQ(SizeControlsEnabled(dialog), AllOn);

        Click(dialog, IDC_OPTION_REGION_WINDOW);
        EXPECT_EQ(SizeControlsEnabled(dialog), AllOff);
        Click(dialog, IDC_OPTION_REGION_FIXED);
        EXPECT_EQ(SizeControlsEnabled(dialog), AllOn);
        for (int id : SwitchBoxes) Click(dialog, id);
        EXPECT_EQ(ShownSwitches(dialog), std::vector<int>({0, 1, 0, 1, 0, 1, 0, 0}));
        Type(dialog, IDC_OPTION_WIDTH, "640");
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Switches(Settings()), Switches(before));
    EXPECT_EQ(Settings().RegionType, RegionFixed);
    EXPECT_EQ(Settings().Width, 321);
    EXPECT_EQ(SavedInt("Blink"), Absent);
}

TEST_F(OptionDlgTest, SizeControlsAreUsableOnlyForTheFixedRegion) {
    for (int region : {RegionNormal, RegionFullScreen, RegionWindow}) {
        Settings().RegionType = region;
        FromMenu([&](HWND dialog) {
            EXPECT_EQ(ShownRegion(dialog), region);
            EXPECT_EQ(SizeControlsEnabled(dialog), AllOff) << "region " << region;
            Press(dialog, IDCANCEL);
        });
    }
}

TEST_F(OptionDlgTest, OkStoresAndSavesEverySwitchButTheSizeOnlyForTheFixedRegion) {
    SetSwitches(Settings(), {0, 0, 0, 0, 0, 0, 0, 0});
    FromMenu([&](HWND dialog) {
        for (int id : SwitchBoxes) Click(dialog, id);
        Click(dialog, IDC_OPTION_REGION_FIXED);
        Type(dialog, IDC_OPTION_WIDTH, "300");
        Type(dialog, IDC_OPTION_HEIGHT, "-2");  // no range is enforced
        Press(dialog, IDOK);
    });
    const std::vector<int> allOn(8, 1);
    EXPECT_EQ(Switches(Settings()), allOn);
    EXPECT_EQ(Settings().RegionType, RegionFixed);
    EXPECT_EQ(Settings().Width, 300);
    EXPECT_EQ(Settings().Height, -2);
    EXPECT_EQ(StoredSwitches(), allOn);
    EXPECT_EQ(SavedInt("RegionType"), RegionFixed);
    EXPECT_EQ(SavedInt("Width"), 300);
    EXPECT_EQ(SavedInt("Height"), -2);

    // A size typed while the fixed region was chosen goes when another is chosen.
    FromMenu([&](HWND dialog) {
        Type(dialog, IDC_OPTION_WIDTH, "500");
        Click(dialog, IDC_OPTION_REGION_FULL);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Settings().RegionType, RegionFullScreen);
    EXPECT_EQ(Settings().Width, 300);
    EXPECT_EQ(SavedInt("RegionType"), RegionFullScreen);
    EXPECT_EQ(SavedInt("Width"), 300);
}

TEST_F(OptionDlgTest, SelectFillsInTheDraggedSizeAndKeepsTheRegionChoice) {
    Settings().RegionType = RegionFixed;
    const HWND selection = RunningApp().MouseCaptureWnd.GetSafeHwnd();
    FromMenu([&](HWND dialog) {
        Press(dialog, IDC_OPTION_SELECT);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(selection); }));
        ASSERT_TRUE(PutCursorAt(100, 50));
        PressLeft();
        ASSERT_TRUE(PutCursorAt(419, 289));
        ReleaseLeft();
        EXPECT_TRUE(WaitUntil([&] { return Text(dialog, IDC_OPTION_WIDTH) == "320"; }));
        EXPECT_EQ(Text(dialog, IDC_OPTION_HEIGHT), "240");
        EXPECT_EQ(ShownRegion(dialog), RegionFixed);
        EXPECT_FALSE(IsWindowVisible(selection));
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Settings().Width, 320);
    EXPECT_EQ(Settings().Height, 240);
    EXPECT_EQ(Settings().RegionType, RegionFixed);

    // A selection reported while another region is chosen leaves that choice.
    FromMenu([&](HWND dialog) {
        Click(dialog, IDC_OPTION_REGION_NORMAL);
        const RegionParams region = PackRegion({10, 20, 109, 69});
        PostMessageA(dialog, WM_USER_REGIONSELECTED, region.wParam, region.lParam);
        EXPECT_TRUE(WaitUntil([&] { return Text(dialog, IDC_OPTION_WIDTH) == "100"; }));
        EXPECT_EQ(Text(dialog, IDC_OPTION_HEIGHT), "50");
        EXPECT_EQ(ShownRegion(dialog), RegionNormal);
        Press(dialog, IDCANCEL);
    });
}

TEST_F(OptionDlgTest, DefaultSetsTheDocumentedSwitchesAndKeepsTheLastTakenSize) {
    SetSwitches(Settings(), {0, 0, 1, 0, 1, 0, 0, 1});  // each the opposite of its default
    Settings().RegionType = RegionFixed;
    Settings().Width = 333;
    Settings().Height = 222;
    FromMenu([&](HWND dialog) {
        Type(dialog, IDC_OPTION_WIDTH, "999");
        Click(dialog, IDC_OPTION_DEFAULT);
        // Minimize, cursor, blink, text and audio on; layered, clicks and playing off.
        EXPECT_EQ(ShownSwitches(dialog), std::vector<int>({1, 1, 0, 1, 0, 1, 1, 0}));
        EXPECT_EQ(ShownRegion(dialog), RegionWindow);
        EXPECT_EQ(Text(dialog, IDC_OPTION_WIDTH), "333");
        EXPECT_EQ(Text(dialog, IDC_OPTION_HEIGHT), "222");
        EXPECT_EQ(SizeControlsEnabled(dialog), AllOn);  // as they were
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Switches(Settings()), std::vector<int>({1, 1, 0, 1, 0, 1, 1, 0}));
    EXPECT_EQ(Settings().RegionType, RegionWindow);
    EXPECT_EQ(SavedInt("RegionType"), RegionWindow);
}

namespace {

// The swatch's inside has its colour and its edge is black.
::testing::AssertionResult SwatchShows(HWND dialog, int marker, COLORREF colour) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, marker), &r);
    const ScreenShot shot(r);
    const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    const COLORREF inside = shot.At(midX, midY), edge = shot.At(r.left, midY),
                   top = shot.At(midX, r.top);
    if (inside == colour && edge == RGB(0, 0, 0) && top == RGB(0, 0, 0))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << std::hex << "inside " << inside << ", edge " << edge
                                         << ", top " << top << ", wanted " << colour;
}

::testing::AssertionResult WaitForSwatch(HWND dialog, int marker, COLORREF colour) {
    ::testing::AssertionResult shown = ::testing::AssertionFailure();
    WaitUntil([&] { return bool(shown = SwatchShows(dialog, marker, colour)); });
    return shown;
}

}  // namespace

TEST_F(OptionDlgTest, ClickColoursConfirmedStayAfterTheOptionDialogIsCancelled) {
    const COLORREF cyan = RGB(0, 255, 255), paleYellow = RGB(255, 255, 125);
    const COLORREF chosen = RGB(200, 30, 90);
    ASSERT_EQ(Settings().LeftColor, cyan);
    ASSERT_EQ(Settings().RightColor, paleYellow);
    FromMenu([&](HWND dialog) {
        // Chosen, then the click-colour dialog cancelled: nothing changes.
        OpenFrom(dialog, IDC_OPTION_MOUSE_DOWN_MORE, [&](HWND colours) {
            OpenFrom(colours, IDC_MOUSEDOWN_LEFT_SET,
                     [&](HWND picker) { PickColour(picker, chosen); });
            EXPECT_TRUE(WaitForSwatch(colours, IDC_MOUSEDOWN_LEFT_SWATCH, chosen));
            Press(colours, IDCANCEL);
        });
        EXPECT_EQ(Settings().LeftColor, cyan);

        OpenFrom(dialog, IDC_OPTION_MOUSE_DOWN_MORE, [&](HWND colours) {
            EXPECT_EQ(Caption(colours), "Mouse Down Option");
            EXPECT_TRUE(WaitForSwatch(colours, IDC_MOUSEDOWN_LEFT_SWATCH, cyan));
            EXPECT_TRUE(WaitForSwatch(colours, IDC_MOUSEDOWN_RIGHT_SWATCH, paleYellow));
            SaveDialogForReview(colours, "mouse_down_option_dialog");
            OpenFrom(colours, IDC_MOUSEDOWN_LEFT_SET,
                     [&](HWND picker) { PickColour(picker, chosen); });
            OpenFrom(colours, IDC_MOUSEDOWN_RIGHT_SET, [&](HWND picker) {
                SaveDialogForReview(picker, "colour_dialog");
                Press(picker, IDCANCEL);
            });
            EXPECT_TRUE(WaitForSwatch(colours, IDC_MOUSEDOWN_LEFT_SWATCH, chosen));
            EXPECT_TRUE(WaitForSwatch(colours, IDC_MOUSEDOWN_RIGHT_SWATCH, paleYellow));
            Press(colours, IDOK);
        });
        EXPECT_EQ(Settings().LeftColor, chosen);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Settings().LeftColor, chosen);
    EXPECT_EQ(Settings().RightColor, paleYellow);
    EXPECT_EQ(SavedInt("LeftColor"), Absent);

    // The next save writes them.
    FromMenu([&](HWND dialog) { Press(dialog, IDOK); });
    EXPECT_EQ(SavedInt("LeftColor"), static_cast<int>(chosen));
    EXPECT_EQ(SavedInt("RightColor"), static_cast<int>(paleYellow));
}

namespace {

FontRecord ArialOf(int height) {
    FontRecord font{};
    font.lfHeight = height;
    font.lfWeight = 400;
    std::strcpy(font.lfFaceName, "Arial");
    return font;
}

}  // namespace

TEST_F(OptionDlgTest, TextDialogDescribesItsFontKeepsTypedTextAndTakesTheColourAtOnce) {
    Settings().TextFont = ArialOf(-13);
    Settings().TextString = "old";
    Settings().TextPosX = 5;
    Settings().TextPosY = 6;
    const COLORREF red = RGB(255, 0, 0);
    std::string message, description;
    FromMenu([&](HWND dialog) {
        OpenFrom(dialog, IDC_OPTION_TEXT_MORE, [&](HWND text) {
            EXPECT_EQ(Caption(text), "Text");
            EXPECT_EQ(Text(text, IDC_TEXT_DESCRIPTION), "Font Name: Arial \nFont Size: 13");
            EXPECT_EQ(Text(text, IDC_TEXT_STRING), "old");
            EXPECT_EQ(Text(text, IDC_TEXT_X), "5");
            EXPECT_EQ(Text(text, IDC_TEXT_Y), "6");
            SaveDialogForReview(text, "text_dialog");
            Type(text, IDC_TEXT_STRING, "typed");
            Type(text, IDC_TEXT_X, "left");
            // The refused number is reported, and the font dialog opens all the same.
            Press(text, IDC_TEXT_FONT);
            if (HWND box = WaitForOwned(text)) {
                message = Text(box, 0xFFFF);
                Press(box, IDOK);
                EXPECT_TRUE(Closed(box));
            }
            if (HWND font = WaitForOwned(text)) {
                SaveDialogForReview(font, "font_dialog");
                EXPECT_TRUE(PickFont(font, nullptr, nullptr, red));
                EXPECT_TRUE(Closed(font));
            }
            EXPECT_EQ(Settings().TextColor, red);
            EXPECT_EQ(Text(text, IDC_TEXT_STRING), "typed");
            EXPECT_EQ(Text(text, IDC_TEXT_X), "5");
            Press(text, IDCANCEL);
        });
        EXPECT_EQ(Settings().TextString, "old");
        EXPECT_EQ(Settings().TextColor, red);

        OpenFrom(dialog, IDC_OPTION_TEXT_MORE, [&](HWND text) {
            Type(text, IDC_TEXT_STRING, "Hello");
            Type(text, IDC_TEXT_X, "20");
            Type(text, IDC_TEXT_Y, "-30");
            OpenFrom(text, IDC_TEXT_FONT,
                     [&](HWND font) { EXPECT_TRUE(PickFont(font, TestFontFace, "20", red)); });
            description = Text(text, IDC_TEXT_DESCRIPTION);
            Press(text, IDOK);
        });
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(message, "Please enter an integer.");
    EXPECT_EQ(Settings().TextString, "Hello");
    EXPECT_EQ(Settings().TextPosX, 20);
    EXPECT_EQ(Settings().TextPosY, -30);
    // 20 points are more pixels than 13 at any resolution.
    const int height = -Settings().TextFont.lfHeight;
    EXPECT_GT(height, 20);
    EXPECT_EQ(description, "Font Name: " + std::string(TestFontFace) +
                               " \nFont Size: " + std::to_string(height));
    EXPECT_STREQ(Settings().TextFont.lfFaceName, TestFontFace);
    EXPECT_EQ(SavedInt("TextPosX"), Absent);
}

namespace {

// Whether the dialog shows "Record Audio" checked when the profile holds it
// on: the start-up check for a capture device has the last word.
bool RecordAudioShownAfterStartUp() {
    RunningApp().WriteProfileInt(SettingsSection, "RecordAudio", 1);
    LoadSettings(RunningApp(), Settings());
    RunningApp().Audio.Build(Settings());
    bool shown = false;
    FromMenu([&](HWND dialog) {
        shown = Checked(dialog, IDC_OPTION_AUDIO);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(SavedInt("RecordAudio"), 1);
    return shown;
}

}  // namespace

TEST_F(OptionDlgTest, RecordAudioShowsTheProfilesValueWithACaptureDevice) {
    EXPECT_TRUE(RecordAudioShownAfterStartUp());
}

// Run only with no sound server reachable (see CMakeLists.txt).
TEST_F(OptionDlgTest, WithoutCaptureDeviceRecordAudioReadsOffThoughTheProfileHoldsOn) {
    EXPECT_FALSE(RecordAudioShownAfterStartUp());
}
