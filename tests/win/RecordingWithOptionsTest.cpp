// A recording made by the program's main window after the Audio Options and
// Record Option dialogs were confirmed: the file carries what was chosen.
#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>
#include <vfw.h>

#include <cstdio>
#include <string>
#include <vector>

#include "options/AudioCaptureDevice.h"
#include "options/AudioFormats.h"
#include "res/resource.h"
#include "tests/win/DialogDriver.h"
#include "tests/win/RunningApp.h"
#include "tests/win/ScreenProbe.h"

namespace {

int FramesShown() {
    int seconds = 0, frames = 0;
    return std::sscanf(PaneText(2).c_str(), "%d sec %d", &seconds, &frames) == 2 ? frames : 0;
}

struct FileStreams {
    AVISTREAMINFOA video{};
    WAVEFORMATEX audio{};
    bool hasVideo = false, hasAudio = false;
};

FileStreams ReadStreams(const std::string& path) {
    FileStreams read;
    AVIFileInit();
    PAVIFILE file = nullptr;
    if (AVIFileOpenA(&file, path.c_str(), OF_READ, nullptr) == 0) {
        PAVISTREAM stream = nullptr;
        if (AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == 0) {
            read.hasVideo = AVIStreamInfoA(stream, &read.video, sizeof read.video) == 0;
            AVIStreamRelease(stream);
        }
        if (AVIFileGetStream(file, &stream, streamtypeAUDIO, 0) == 0) {
            LONG size = sizeof read.audio;
            read.hasAudio = AVIStreamReadFormat(stream, 0, &read.audio, &size) == 0;
            AVIStreamRelease(stream);
        }
        AVIFileRelease(file);
    }
    AVIFileExit();
    return read;
}

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
    // The built-in compressor, which takes the screen's frames.
    RunningApp().Compressors = CompressorCatalogue{};
    RunningApp().Compressors.Build(settings);
    settings.CurCompressorHandler = mmioFOURCC('M', 'S', 'V', 'C');
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    settings.SavePath = std::string(temp) + "brantle_options_recording.avi";
    DeleteFileA(settings.SavePath.c_str());
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

    const FileStreams file = ReadStreams(settings.SavePath);
    ASSERT_TRUE(file.hasVideo);
    EXPECT_EQ(file.video.dwRate, 25 * file.video.dwScale);
    ASSERT_TRUE(file.hasAudio);
    const WAVEFORMATEX want = ToWaveFormat(CaptureFormatFor(chosen));
    EXPECT_EQ(file.audio.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(file.audio.nSamplesPerSec, want.nSamplesPerSec);
    EXPECT_EQ(file.audio.wBitsPerSample, want.wBitsPerSample);
    EXPECT_EQ(file.audio.nChannels, want.nChannels);
    EXPECT_EQ(file.audio.nBlockAlign, want.nBlockAlign);
    DeleteFileA(settings.SavePath.c_str());
}
