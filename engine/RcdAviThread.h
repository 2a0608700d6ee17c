// One recording: the worker thread that fits the rectangle to the chosen
// compressor, creates the AVI file with a video stream that compresses on
// write, and writes a frame every RecordInterval at the position the wall
// clock gives, until the recording is stopped or a step fails.
#pragma once

#include <windows.h>

#include <vfw.h>

#include <string>

#include "engine/CompressorFitting.h"
#include "framework/WinThread.h"
#include "settings/RecordSettings.h"

class CRcdAviThread : public CWinThread {
public:
    // Filled in by the controller while the thread is suspended.
    std::string FileName;
    RECT CaptureRect = {};  // inclusive
    int VideoQuality = 8500;
    int RecordInterval = 100;
    int KeyFrames = 5;
    int PlayRate = 10;
    int ShowCursor = 1;
    int ShowBorder = 1;
    int RecordAudio = 0;                 // an audio thread adds its stream to the file
    const ICINFO* Compressor = nullptr;  // null: the default compressor
    HWND MainWindow = nullptr;
    const RecordSettings* Settings = nullptr;  // read live by every grab

    BOOL InitInstance() override;

    BITMAPINFOHEADER* GrabFrame(int left, int top, int width, int height, bool probe);

private:
    // What one run builds up and the clean-up releases.
    struct Run {
        CaptureArea area = {};
        uint32_t compressorInUse = FourccMSVC;
        BITMAPINFOHEADER* probe = nullptr;
        bool aviLibraryOpen = false;  // AVIFileInit was called; a probe that failed skips it
        PAVIFILE file = nullptr;
        PAVISTREAM stream = nullptr;
        PAVISTREAM compressed = nullptr;
        AVICOMPRESSOPTIONS options = {};
        HRESULT fileResult = 0;    // the first failed file step, or 0
        bool frameFailed = false;  // a frame block could not be allocated
    };

    // The frame loop's own state.
    struct Loop {
        bool first = true;
        uint32_t position = 0;
        uint32_t lastWritten = 0;
        uint32_t lastHalf = 0;
        WPARAM framesWritten = 0;
    };

    bool TakeProbe(Run& run, int width, int height);
    void FitToChosenCompressor(Run& run);
    void OpenFile(Run& run);
    HRESULT CreateVideoStream(Run& run);
    void WaitForAudioStream();
    void RecordFrames(Run& run);
    bool StoreFrame(Run& run, Loop& loop, BITMAPINFOHEADER* frame, uint32_t elapsed);
    HRESULT WriteFrame(Run& run, uint32_t position, BITMAPINFOHEADER* frame);
    void SleepAfterFrame();
    void CleanUp(Run& run);
    void Notify(const Run& run);
    void AskAfterFileFailure(uint32_t compressorInUse);
    void Fail(Run& run, HRESULT result);
};
