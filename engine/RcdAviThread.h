// One recording: the worker thread that fits the rectangle to the chosen
// compressor, creates the AVI file with a video stream that compresses on
// write, and writes a frame every RecordInterval at the position the wall
// clock gives, until the recording is stopped or a step fails.
#pragma once

#include <windows.h>

#include <vfw.h>

#include <string>

#include "app/RecordSettings.h"
#include "engine/CompressorFitting.h"
#include "framework/WinThread.h"

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
        PAVISTREAM stream = nullptr;
        PAVISTREAM compressed = nullptr;
        AVICOMPRESSOPTIONS options = {};
        HRESULT fileResult = 0;    // the first failed file step, or 0
        bool frameFailed = false;  // a frame block could not be allocated
    };

    bool TakeProbe(Run& run, int width, int height);
    void FitToChosenCompressor(Run& run);
    void OpenFile(Run& run);
    void RecordFrames(Run& run, DWORD start);
    void SleepAfterFrame();
    void CleanUp(Run& run);
    void Notify(const Run& run);
    void AskAfterFileFailure(uint32_t compressorInUse);
    void Fail(Run& run, HRESULT result);
};
