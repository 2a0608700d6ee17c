// The Audio Options dialog: opened by the Audio command of the program's main
// window with the test environment's capture device, and with chosen sets of
// supported formats; what it lists and selects, and what OK and Cancel do
// to the settings, the capture format and the saved settings.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "options/AudioCaptureDevice.h"
#include "options/AudioOptionsDlg.h"
#include "res/resource.h"
#include "tests/support/FakeProfile.h"
#include "tests/win/DialogDriver.h"
#include "tests/win/PaintedWindow.h"
#include "tests/win/RunningApp.h"
#include "tests/win/Waiting.h"

namespace {

struct Listed {
    std::string caption;
    std::vector<std::string> lines;
    std::vector<int> data;
    int selected;  // the selected line's data; -1 for none
};

Listed ReadList(HWND dialog) {
    Listed listed{Caption(dialog), {}, {}, -1};
    HWND list = GetDlgItem(dialog, IDC_AUDIO_FORMATS);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        listed.lines.push_back(text);
        listed.data.push_back(static_cast<int>(SendMessageA(list, LB_GETITEMDATA, i, 0)));
    }
    const int selected = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    if (selected >= 0) listed.selected = listed.data[selected];
    return listed;
}

// Selects the first or last line with a key, as the user does.
bool SelectWithKey(HWND dialog, WPARAM key, int line) {
    HWND list = GetDlgItem(dialog, IDC_AUDIO_FORMATS);
    PostMessageA(list, WM_KEYDOWN, key, 1);
    PostMessageA(list, WM_KEYUP, key, 0xC0000001);
    return WaitUntil([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == line; },
                     DialogWaitLimit);
}

SupportedFormats Only(std::initializer_list<int> candidates) {
    SupportedFormats supported{};
    for (int i : candidates) supported[i] = true;
    return supported;
}

std::vector<int> IndicesOf(const SupportedFormats& supported) {
    std::vector<int> indices;
    for (int i = 0; i < CandidateCount; ++i)
        if (supported[i]) indices.push_back(i);
    return indices;
}

std::vector<std::string> LabelsOf(const std::vector<int>& candidates) {
    std::vector<std::string> labels;
    for (int i : candidates) {
        PcmFormat format;
        MakeCandidateFormat(i, format);
        labels.push_back(FormatLabel(format));
    }
    return labels;
}

bool IsCaptureFormat(int candidate) {
    const WAVEFORMATEX want = ToWaveFormat(CaptureFormatFor(candidate)),
                       is = CurrentCaptureFormat();
    return std::memcmp(&want, &is, sizeof want) == 0;
}

class AudioOptionsDlgTest : public ::testing::Test {
protected:
    void SetUp() override { ForgetSavedSettings(); }

    // Through the opener, with supported formats of the test's choosing.
    bool Edit(const SupportedFormats& supported, const std::function<void(HWND dialog)>& drive) {
        bool confirmed = false;
        Driven([&] { confirmed = EditAudioFormat(settings, supported, profile, nullptr); }, nullptr,
               drive);
        return confirmed;
    }

    RecordSettings settings;
    FakeProfile profile;
};

}  // namespace

TEST_F(AudioOptionsDlgTest, AudioCommandListsTheDevicesFormatsAndOkMakesTheChoiceCaptureFormat) {
    const std::vector<int> supported = IndicesOf(DeviceFormats());
    ASSERT_GE(supported.size(), 2u);
    RecordSettings& appSettings = RunningApp().Settings;
    appSettings.AudioFormat = supported.back();
    ASSERT_TRUE(CommandEnabled(ID_OPTIONS_AUDIO));
    Listed listed;
    Driven([] { SendCommand(ID_OPTIONS_AUDIO); }, nullptr,
           [&](HWND dialog) {
               listed = ReadList(dialog);
               WaitUntilPainted(dialog);
               SaveDialogForReview(dialog, "audio_options_dialog");
               EXPECT_TRUE(SelectWithKey(dialog, VK_HOME, 0));
               Press(dialog, IDOK);
           });
    EXPECT_EQ(listed.caption, "Audio Options");
    EXPECT_EQ(listed.lines, LabelsOf(supported));
    EXPECT_EQ(listed.data, supported);
    EXPECT_EQ(listed.selected, supported.back());
    EXPECT_EQ(appSettings.AudioFormat, supported.front());
    EXPECT_TRUE(IsCaptureFormat(supported.front()));
    EXPECT_EQ(SavedInt("Audio Format"), supported.front());
}

TEST_F(AudioOptionsDlgTest, OnlySupportedFormatsInCandidateOrderWithTheStoredOneSelected) {
    SetCurrentCaptureFormat(CaptureFormatFor(3));
    settings.AudioFormat = 3;
    Listed listed;
    EXPECT_FALSE(Edit(Only({5, 1, 3}), [&](HWND dialog) {
        listed = ReadList(dialog);
        EXPECT_TRUE(SelectWithKey(dialog, VK_END, 2));
        Press(dialog, IDCANCEL);
    }));
    EXPECT_EQ(listed.lines,
              (std::vector<std::string>{"8000 Hz, 16-bit Mono", "8000 Hz, 16-bit Stereo",
                                        "11025 Hz, 16-bit Mono"}));
    EXPECT_EQ(listed.data, (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(listed.selected, 3);
    EXPECT_EQ(settings.AudioFormat, 3);
    EXPECT_TRUE(IsCaptureFormat(3));
    EXPECT_TRUE(profile.values.empty());

    EXPECT_TRUE(Edit(Only({1, 3, 5}), [&](HWND dialog) { Press(dialog, IDOK); }));
    EXPECT_EQ(settings.AudioFormat, 3);
    EXPECT_EQ(profile.values.at("Default\\Audio Format").number, 3);  // saved all the same
}

TEST_F(AudioOptionsDlgTest, AStoredFormatTheDeviceLacksShowsTheOneInUseAndNoneListedStoresNone) {
    settings.AudioFormat = 0;  // start-up fell back to the lowest supported, 1
    int selected = -2;
    EXPECT_TRUE(Edit(Only({1, 3, 5}), [&](HWND dialog) {
        selected = ReadList(dialog).selected;
        Press(dialog, IDOK);
    }));
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(settings.AudioFormat, 1);
    EXPECT_TRUE(IsCaptureFormat(1));

    Listed listed;
    EXPECT_TRUE(Edit(Only({}), [&](HWND dialog) {
        listed = ReadList(dialog);
        Press(dialog, IDOK);
    }));
    EXPECT_TRUE(listed.lines.empty());
    EXPECT_EQ(settings.AudioFormat, -1);
    EXPECT_TRUE(IsCaptureFormat(-1));  // only the PCM tag
    EXPECT_EQ(profile.values.at("Default\\Audio Format").number, -1);
}
