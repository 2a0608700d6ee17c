// One recording: the worker thread that fits the rectangle to the chosen
// compressor, creates the AVI file, and writes a compressed frame every
// RecordInterval at the position the wall clock gives, until the recording
// is stopped or a step fails.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "avi/AviWriter.h"
#include "avi/WindowsOutputFile.h"
#include "engine/CompressorFitting.h"
#include "engine/FileFailure.h"
#include "engine/FrameCompressor.h"
#include "engine/RecordingJob.h"
#include "framework/WinThread.h"

class CRcdAviThread : public CWinThread {
public:
    // Set by the controller while the thread is suspended.
    std::shared_ptr<const RecordingJob> Job;

    BOOL InitInstance() override;

    BITMAPINFOHEADER* GrabFrame(int left, int top, int width, int height, bool probe);

private:
    // What one run builds up and the clean-up releases.
    struct Run {
        CaptureArea area = {};
        uint32_t compressorInUse = FourccMSVC;
        BITMAPINFOHEADER* probe = nullptr;
        std::unique_ptr<FrameCompressor> compressor;
        std::unique_ptr<WindowsOutputFile> file;
        std::unique_ptr<AviWriter> writer;
        bool compressorFailed = false;
        std::optional<FileFailure> fileFailure;
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
    bool OpenWriter(Run& run);
    void RecordFrames(Run& run);
    bool StoreFrame(Run& run, Loop& loop, BITMAPINFOHEADER* frame, uint32_t elapsed);
    void SleepAfterFrame(Run& run);
    bool KeepFileCurrent(Run& run);
    static void WriterFailed(Run& run, FileStep step);
    void CleanUp(Run& run);
    void Notify(const Run& run);
    void AskAfterCompressorFailure(uint32_t compressorInUse);
};
