// A recording made by the program's main window after the Audio Options and
// Record Option dialogs were confirmed: the file carries what was chosen.
#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>
#include <vfw.h>

#include <string>
#include <vector>

#include "options/AudioCaptureDevice.h"
#include "options/AudioFormats.h"
#include "res/resource.h"
#include "tests/win/AviReader.h"
#include "tests/win/DialogDriver.h"
#include "tests/win/RunningApp.h"
#include "tests/win/Waiting.h"
#include "tests/win/TestPaths.h"

namespace {

void Confirm(UINT command, const std::function<void(HWND dialog)>& change) {
    ASSERT_TRUE(CommandEnabled(command));
    Driven([command] { SendCommand(command); }, nullptr,
           [&](HWND dialog) {
               change(dialog);
               Press(dialog, IDOK);
           });
}

}  // namespace

TEST(RecordingWithOptions, TheFileHasThePlayRateAndSoundFormatChosenInTheDialogs) {
    std::vector<int> supported;
    for (int i = 0; i < CandidateCount; ++i)
        if (DeviceFormats()[i]) supported.push_back(i);
    ASSERT_FALSE(supported.empty());
    const int line = static_cast<int>(supported.size() / 2);  // not the start-up format, if it can
    const int chosen = supported[line];

    RecordSettings& settings = RunningApp().Settings;
    // The built-in Video 1 compressor, selected in the dialog by its handler.
    RunningApp().Compressors = CompressorCatalogue{};
    RunningApp().Compressors.Build(settings);
    settings.CurCompressorHandler = mmioFOURCC('M', 'S', 'V', 'C');
    settings.SavePath = FreshTempPath("brantle_options_recording.avi");
    settings.RegionType = RegionFullScreen;
    settings.RecordAudio = 1;
    settings.Minimize = 0;
    settings.Blink = 0;
    settings.AutoPlay = 0;

    Confirm(ID_OPTIONS_AUDIO, [&](HWND dialog) {
        SendDlgItemMessageA(dialog, IDC_AUDIO_FORMATS, LB_SETCURSEL, line, 0);
    });
    Confirm(ID_OPTIONS_VIDEO, [&](HWND dialog) { SetDlgItemTextA(dialog, IDC_PLAY_RATE, "25"); });
    ASSERT_EQ(settings.AudioFormat, chosen);
    ASSERT_EQ(settings.PlayRate, 25);

    SendCommand(ID_RECORD_START);
    EXPECT_TRUE(WaitUntil([] { return FramesShown() >= 10; }, 15000)) << PaneText(2);
    SendCommand(ID_RECORD_STOP);
    ASSERT_TRUE(WaitUntil([] { return PaneText(1) == "Recording stopped"; }, 15000));

    const AviContents file = ReadAvi(settings.SavePath);
    ASSERT_TRUE(file.hasVideo);
    EXPECT_EQ(file.video.dwRate, 25 * file.video.dwScale);
    ASSERT_TRUE(file.hasAudio);
    const WAVEFORMATEX want = ToWaveFormat(CaptureFormatFor(chosen));
    EXPECT_EQ(file.audioFormat.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(file.audioFormat.nSamplesPerSec, want.nSamplesPerSec);
    EXPECT_EQ(file.audioFormat.wBitsPerSample, want.wBitsPerSample);
    EXPECT_EQ(file.audioFormat.nChannels, want.nChannels);
    EXPECT_EQ(file.audioFormat.nBlockAlign, want.nBlockAlign);
    DeleteFileA(settings.SavePath.c_str());
}
