// One recording: the worker thread that fits the rectangle to the chosen
// compressor, creates the AVI file, and grabs a frame every RecordInterval
// at the position the wall clock gives, which a second thread compresses
// and writes, until the recording is stopped or a step fails.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>

#include "avi/AviWriter.h"
#include "avi/WindowsOutputFile.h"
#include "engine/CompressorFitting.h"
#include "engine/FileFailure.h"
#include "engine/FrameBlockPool.h"
#include "engine/FrameCompressor.h"
#include "engine/FrameQueue.h"
#include "engine/KeyFramePace.h"
#include "engine/RecordingJob.h"
#include "engine/ScreenCopy.h"
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
        std::unique_ptr<FrameEncoder> compressor;
        std::unique_ptr<WindowsOutputFile> file;
        std::unique_ptr<FilmWriter> writer;
        uint32_t positionsStored = 0;  // the film's length when the writer closed
        bool compressorFailed = false;
        std::optional<FileFailure> fileFailure;
        bool frameFailed = false;  // a frame block could not be allocated
        // The grabbing stage rests in a pause; the writing stage parks after it.
        std::atomic<bool> grabbingParked{false};
        std::optional<KeyFramePace> pace;  // from the first frame on
    };

    // A grabbed frame on its way to the writing stage.
    struct GrabbedFrame {
        BITMAPINFOHEADER* frame;
        uint32_t position;
        uint32_t elapsed;  // recording time when it was grabbed
    };
    // Frames grabbed but not yet written: enough to ride out a key frame
    // that takes a few intervals, few enough to bound the memory.
    static constexpr size_t QueuedFramesMax = 3;

    // The writing stage's progress reports.
    struct Progress {
        uint32_t lastHalf = 0;
        uint32_t lastElapsed = 0;  // recording time of the last frame written
    };

    bool TakeProbe(Run& run, int width, int height);
    void FitToChosenCompressor(Run& run);
    void OpenFile(Run& run);
    bool CreateOutputFile(Run& run);
    bool OpenWriter(Run& run);
    bool OpenMp4Writer(Run& run);
    void RecordFrames(Run& run);
    // Returns the film's length in frames: up to the last one handed over.
    uint32_t GrabFrames(Run& run, FrameQueue<GrabbedFrame>& queue);
    uint32_t SleepUntilDue(Run& run, uint32_t due);
    void WriteFrames(Run& run, FrameQueue<GrabbedFrame>& queue);
    bool ParkWithGrabbing(Run& run, const FrameQueue<GrabbedFrame>& queue);
    bool StoreFrame(Run& run, Progress& progress, const GrabbedFrame& grabbed);
    void PostProgress(const Run& run, const Progress& progress) const;
    bool KeepFileCurrent(Run& run);
    static void WriterFailed(Run& run, FileStep step);
    void CleanUp(Run& run);
    void Notify(const Run& run);
    void AskAfterCompressorFailure(uint32_t compressorInUse);

    std::unique_ptr<ScreenCopy> m_screenCopy;  // kept from grab to grab, on this thread
    // Enough for every block that can be on its way at once: one grabbed,
    // the queue's and one being written.
    FrameBlockPool m_blocks{QueuedFramesMax + 2};
};
