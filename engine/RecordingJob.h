// What one recording is asked to do, fixed when it starts and shared by
// its video and audio threads.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <vfw.h>

#include <optional>
#include <string>

#include "engine/StageTimes.h"
#include "settings/RecordSettings.h"

struct RecordingJob {
    std::string FileName;   // replaced if it exists
    RECT CaptureRect = {};  // inclusive
    int VideoQuality = 8500;
    int RecordInterval = 100;
    int KeyFrames = 5;
    int PlayRate = 10;
    int ShowCursor = 1;
    int ShowBorder = 1;
    std::optional<ICINFO> Compressor;  // none: the default compressor
    HWND MainWindow = nullptr;
    const RecordSettings* Settings = nullptr;  // read live by every grab
    StageTimes* Timings = nullptr;             // kept only when a benchmark asks

    // Sound, when an audio thread records it: the device that opened at
    // start-up, which the thread opens afresh for this recording, and the
    // format.
    bool RecordAudio = false;
    std::optional<GUID> AudioDeviceId;
    WAVEFORMATEX AudioFormat = {};

    // The file gets a sound stream only when sound can be captured at all.
    bool HasSoundStream() const {
        return RecordAudio && AudioDeviceId && AudioFormat.nBlockAlign != 0;
    }
};
