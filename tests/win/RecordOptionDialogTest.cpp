// The Record Option dialog, opened by the Video command of the program's
// main window and driven through its controls: what it shows, what reaches
// the settings and the registry, what it refuses, and its compressor list.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "res/resource.h"
#include "tests/win/DialogDriver.h"
#include "tests/win/FakeCompressors.h"
#include "tests/win/PaintedWindow.h"
#include "tests/win/RunningApp.h"
#include "tests/win/Waiting.h"

namespace {

constexpr DWORD Msvc = 0x4356534D;  // the built-in Video 1, which has an about box
constexpr char WithoutAbout[] = "FKNA", Removable[] = "FKGO";
constexpr int MessageBoxText = 0xFFFF;  // the static holding a message box's text
constexpr LPARAM KeyReleased = 0xC0000001;

// Two compressors of the tests, installed before anything makes the
// application object, which installs the built-in ones; the catalogue lists
// them after those all the same. One has no about box; the other is removed
// by the test that needs a listed compressor that cannot be opened.
class TestCompressors : public ::testing::Environment {
public:
    void SetUp() override {
        const AcceptRule acceptAll = [](const BITMAPINFOHEADER&) { return true; };
        withoutAbout = std::make_unique<FakeCompressor>(WithoutAbout, acceptAll);
        removable = std::make_unique<FakeCompressor>(Removable, acceptAll);
    }
    void TearDown() override {
        withoutAbout.reset();
        removable.reset();
    }

    static inline std::unique_ptr<FakeCompressor> withoutAbout, removable;
};
const auto* const Installed = ::testing::AddGlobalTestEnvironment(new TestCompressors);

struct Shown {
    std::string caption;
    std::vector<std::string> codecs;
    int selected = -2;
    int slider = 0;
    std::string quality, interval, keyFrames, playRate;
    bool aboutEnabled = false;
};

Shown Read(HWND dialog) {
    Shown shown;
    shown.caption = Caption(dialog);
    shown.quality = Text(dialog, IDC_QUALITY_TEXT);
    shown.interval = Text(dialog, IDC_RECORD_INTERVAL);
    shown.keyFrames = Text(dialog, IDC_KEY_FRAMES);
    shown.playRate = Text(dialog, IDC_PLAY_RATE);
    shown.aboutEnabled = Enabled(dialog, IDC_CODEC_ABOUT);
    HWND combo = GetDlgItem(dialog, IDC_VIDEO_CODEC);
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        shown.codecs.push_back(text);
    }
    shown.selected = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    shown.slider =
        static_cast<int>(SendDlgItemMessageA(dialog, IDC_VIDEO_QUALITY, TBM_GETPOS, 0, 0));
    return shown;
}

// Picks a list position as the user does, which notifies the dialog.
void Select(HWND dialog, int position) {
    HWND combo = GetDlgItem(dialog, IDC_VIDEO_CODEC);
    SendMessageA(combo, CB_SETCURSEL, position, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_VIDEO_CODEC, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void TypeValues(HWND dialog, const char* interval, const char* keyFrames, const char* playRate) {
    SetDlgItemTextA(dialog, IDC_RECORD_INTERVAL, interval);
    SetDlgItemTextA(dialog, IDC_KEY_FRAMES, keyFrames);
    SetDlgItemTextA(dialog, IDC_PLAY_RATE, playRate);
}

// Moves the slider with a key; true once the quality text shows `expected`.
bool Slide(HWND dialog, WPARAM key, const char* expected) {
    HWND slider = GetDlgItem(dialog, IDC_VIDEO_QUALITY);
    PostMessageA(slider, WM_KEYDOWN, key, 1);
    PostMessageA(slider, WM_KEYUP, key, KeyReleased);
    return WaitUntil([&] { return Text(dialog, IDC_QUALITY_TEXT) == expected; }, DialogWaitLimit);
}

HWND FocusOf(HWND dialog) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui);
    return gui.hwndFocus;
}

// Waits for the message box the dialog opened, closes it and returns its text.
std::string AnswerOwnedBox(HWND dialog) {
    HWND box = WaitForOwned(dialog);
    if (!box) return "no message";
    const std::string text = Text(box, MessageBoxText);
    Press(box, IDOK);
    EXPECT_TRUE(Closed(box));
    return text;
}

// Returns once the dialog's thread has finished what it was doing: a box it
// opened on the way is there by then.
void Settle(HWND dialog) { SendMessageA(dialog, WM_NULL, 0, 0); }

class RecordOptionDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        const RecordSettings defaults;
        settings.VideoQuality = defaults.VideoQuality;
        settings.RecordInterval = defaults.RecordInterval;
        settings.KeyFrames = defaults.KeyFrames;
        settings.PlayRate = defaults.PlayRate;
        settings.CurCompressor = 0;
        ForgetSavedSettings();
    }

    // The catalogue of the compressors installed now, as start-up builds it.
    void BuildCatalogue() {
        RunningApp().Compressors = CompressorCatalogue{};
        RunningApp().Compressors.Build(settings);
    }

    static std::vector<std::string> Descriptions() {
        std::vector<std::string> texts;
        for (int i = 0; i < Catalogue().Count(); ++i) {
            char text[256] = {};
            WideCharToMultiByte(CP_ACP, 0, Catalogue().Entry(i).szDescription, -1, text,
                                sizeof text, nullptr, nullptr);
            texts.push_back(text);
        }
        return texts;
    }

    static int PositionOf(DWORD handler) {
        for (int i = 0; i < Catalogue().Count(); ++i)
            if (Catalogue().Entry(i).fccHandler == handler) return i;
        return -1;
    }

    static const CompressorCatalogue& Catalogue() { return RunningApp().Compressors; }

    static void OpenVideoOptions(const std::function<void(HWND dialog)>& drive) {
        ASSERT_TRUE(CommandEnabled(ID_OPTIONS_VIDEO));
        Driven([] { SendCommand(ID_OPTIONS_VIDEO); }, nullptr, drive);
    }

    // Record options as a comparable tuple.
    auto Options() const {
        return std::make_tuple(settings.VideoQuality, settings.CurCompressorHandler,
                               settings.CurCompressor, settings.RecordInterval, settings.KeyFrames,
                               settings.PlayRate);
    }

    RecordSettings& settings = RunningApp().Settings;
};

}  // namespace

TEST_F(RecordOptionDlgTest, VideoCommandShowsTheSettingsAndOkStoresThemAgainAndSaves) {
    BuildCatalogue();
    settings.CurCompressorHandler = Msvc;
    const int builtIn = PositionOf(Msvc);
    ASSERT_GE(builtIn, 0);
    const std::vector<std::string> descriptions = Descriptions();
    ASSERT_FALSE(std::is_sorted(descriptions.begin(), descriptions.end()))
        << "the catalogue's order must differ from a sorted one to show the list keeps it";

    Shown shown;
    OpenVideoOptions([&](HWND dialog) {
        shown = Read(dialog);
        WaitUntilPainted(dialog);
        SaveDialogForReview(dialog, "record_option_dialog");
        Press(dialog, IDOK);
    });
    EXPECT_EQ(shown.caption, "Record Option");
    EXPECT_EQ(shown.codecs, descriptions);
    ASSERT_FALSE(shown.codecs.empty());
    EXPECT_EQ(shown.codecs.front(), "H.264 MP4 (for sharing)");
    EXPECT_EQ(shown.selected, builtIn);
    EXPECT_TRUE(shown.aboutEnabled);
    EXPECT_EQ(shown.slider, 85);
    EXPECT_EQ(shown.quality, "85");
    EXPECT_EQ(shown.interval, "100");
    EXPECT_EQ(shown.keyFrames, "5");
    EXPECT_EQ(shown.playRate, "10");
    EXPECT_EQ(Options(), std::make_tuple(8500, Msvc, builtIn, 100, 5, 10));
    EXPECT_EQ(SavedInt("CurCompressor"), builtIn);
}

TEST_F(RecordOptionDlgTest, ChangedValuesReachTheSettingsOnlyThroughOkBoundsIncluded) {
    BuildCatalogue();
    settings.CurCompressorHandler = Msvc;
    const int builtIn = PositionOf(Msvc), fake = PositionOf(Fourcc(WithoutAbout));
    const auto before = Options();
    auto lowest = [&](HWND dialog) {
        TypeValues(dialog, "20", "1", "100");
        EXPECT_TRUE(Slide(dialog, VK_HOME, "1"));
        Select(dialog, fake);
        EXPECT_FALSE(Enabled(dialog, IDC_CODEC_ABOUT));
    };
    OpenVideoOptions([&](HWND dialog) {
        lowest(dialog);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Options(), before);
    EXPECT_FALSE(SettingsSaved());

    OpenVideoOptions([&](HWND dialog) {
        lowest(dialog);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Options(), std::make_tuple(100, Fourcc(WithoutAbout), fake, 20, 1, 100));
    EXPECT_EQ(SavedInt("CurCompressor"), fake);

    OpenVideoOptions([&](HWND dialog) {
        EXPECT_EQ(Read(dialog).quality, "1");
        TypeValues(dialog, "10000", "100", "1");
        EXPECT_TRUE(Slide(dialog, VK_END, "100"));
        Select(dialog, builtIn);
        EXPECT_TRUE(Enabled(dialog, IDC_CODEC_ABOUT));
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Options(), std::make_tuple(10000, Msvc, builtIn, 10000, 100, 1));
    EXPECT_EQ(SavedInt("CurCompressor"), builtIn);
}

TEST_F(RecordOptionDlgTest, RefusedValuesShowTheFieldsMessageFocusItAndStopTheExchange) {
    BuildCatalogue();
    const auto before = Options();
    const char* const between20 = "Please enter an integer between 20 and 10000.";
    const char* const between1 = "Please enter an integer between 1 and 100.";
    const char* const integer = "Please enter an integer.";
    struct Refused {
        int field;
        const char* text;
        const char* message;
    };
    const Refused cases[] = {
        {IDC_RECORD_INTERVAL, "19", between20}, {IDC_RECORD_INTERVAL, "10001", between20},
        {IDC_RECORD_INTERVAL, "1e3", integer},  {IDC_KEY_FRAMES, "0", between1},
        {IDC_KEY_FRAMES, "101", between1},      {IDC_KEY_FRAMES, "", integer},
        {IDC_PLAY_RATE, "0", between1},         {IDC_PLAY_RATE, "101", between1},
        {IDC_PLAY_RATE, "ten", integer},
    };
    // In the exchange's order; each field after the refused one is refused too.
    const int order[] = {IDC_RECORD_INTERVAL, IDC_KEY_FRAMES, IDC_PLAY_RATE};
    OpenVideoOptions([&](HWND dialog) {
        for (const Refused& c : cases) {
            SCOPED_TRACE(c.text);
            TypeValues(dialog, "100", "5", "10");
            const int* later = std::find(std::begin(order), std::end(order), c.field) + 1;
            for (; later != std::end(order); ++later) SetDlgItemTextA(dialog, *later, "x");
            SetDlgItemTextA(dialog, c.field, c.text);
            Press(dialog, IDOK);
            if (&c == cases) {
                HWND box = WaitForOwned(dialog);
                WaitUntilPainted(box);
                SaveDialogForReview(box, "record_option_refused");
            }
            EXPECT_EQ(AnswerOwnedBox(dialog), c.message);
            HWND field = GetDlgItem(dialog, c.field);
            EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == field; }, DialogWaitLimit));
            Settle(dialog);
            EXPECT_FALSE(FindDialog(GetWindowThreadProcessId(dialog, nullptr), dialog))
                << "a second message";
            EXPECT_TRUE(IsWindowVisible(dialog));
        }
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Options(), before);
    EXPECT_FALSE(SettingsSaved());
}

TEST_F(RecordOptionDlgTest, SliderMovedWithARefusedFieldShowsItsMessageAtEachNotification) {
    BuildCatalogue();
    OpenVideoOptions([&](HWND dialog) {
        TypeValues(dialog, "19", "50", "60");
        HWND slider = GetDlgItem(dialog, IDC_VIDEO_QUALITY);
        PostMessageA(slider, WM_KEYDOWN, VK_RIGHT, 1);
        EXPECT_EQ(AnswerOwnedBox(dialog), "Please enter an integer between 20 and 10000.");
        // The quality follows the slider all the same; the fields after the
        // refused one show their last accepted values again.
        EXPECT_TRUE(WaitUntil([&] { return Text(dialog, IDC_QUALITY_TEXT) == "86"; }));
        EXPECT_EQ(Text(dialog, IDC_KEY_FRAMES), "5");
        EXPECT_EQ(Text(dialog, IDC_PLAY_RATE), "10");
        EXPECT_EQ(Text(dialog, IDC_RECORD_INTERVAL), "19");
        PostMessageA(slider, WM_KEYUP, VK_RIGHT, KeyReleased);  // the end of the move
        EXPECT_EQ(AnswerOwnedBox(dialog), "Please enter an integer between 20 and 10000.");
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(settings.VideoQuality, 8500);
}

TEST_F(RecordOptionDlgTest, UnlistedHandlerSelectsTheFirstEntryAndAboutFollowsTheCompressor) {
    BuildCatalogue();
    TestCompressors::removable.reset();  // listed, but it can no longer be opened
    const DWORD removedHandler = Fourcc(Removable);
    const int builtIn = PositionOf(Msvc), fake = PositionOf(Fourcc(WithoutAbout)),
              gone = PositionOf(removedHandler);
    ASSERT_GE(gone, 0) << "installed once per process";
    settings.CurCompressorHandler = Fourcc("ZZZZ");

    int selected = -2;
    OpenVideoOptions([&](HWND dialog) {
        selected = Read(dialog).selected;
        Press(dialog, IDOK);
    });
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(settings.CurCompressorHandler, Catalogue().Entry(0).fccHandler);
    EXPECT_EQ(settings.CurCompressor, 0);

    OpenVideoOptions([&](HWND dialog) {
        auto aboutEnabled = [&] { return Enabled(dialog, IDC_CODEC_ABOUT); };
        const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
        Select(dialog, builtIn);
        Press(dialog, IDC_CODEC_ABOUT);
        if (HWND box = WaitForOwned(dialog)) {
            WaitUntilPainted(box);
            SaveDialogForReview(box, "compressor_about_box");
            EXPECT_EQ(Caption(box), "About Video 1");
            Press(box, IDOK);
            EXPECT_TRUE(Closed(box));
        }
        Select(dialog, fake);
        EXPECT_FALSE(aboutEnabled());
        Select(dialog, gone);
        EXPECT_FALSE(aboutEnabled());
        Select(dialog, builtIn);
        Select(dialog, gone);
        EXPECT_TRUE(aboutEnabled());
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CODEC_ABOUT, BN_CLICKED), 0);
        EXPECT_FALSE(FindDialog(thread, dialog)) << "an about box of a compressor that is gone";
        Press(dialog, IDOK);
    });
    EXPECT_EQ(settings.CurCompressorHandler, removedHandler);
    EXPECT_EQ(settings.CurCompressor, gone);
}

TEST_F(RecordOptionDlgTest, EmptyCatalogueListsNothingAndOkStoresNoCompressor) {
    RunningApp().Compressors = CompressorCatalogue{};
    settings.CurCompressorHandler = Msvc;
    Shown shown;
    OpenVideoOptions([&](HWND dialog) {
        shown = Read(dialog);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CODEC_ABOUT, BN_CLICKED), 0);
        EXPECT_FALSE(FindDialog(GetWindowThreadProcessId(dialog, nullptr), dialog));
        Press(dialog, IDOK);
    });
    EXPECT_TRUE(shown.codecs.empty());
    EXPECT_EQ(shown.selected, -1);
    EXPECT_TRUE(shown.aboutEnabled);  // as the template has it
    EXPECT_EQ(settings.CurCompressor, -1);
    EXPECT_EQ(settings.CurCompressorHandler, Msvc);
    EXPECT_EQ(SavedInt("CurCompressor"), -1);
}
