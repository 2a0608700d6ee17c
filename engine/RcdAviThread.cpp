#include "engine/RcdAviThread.h"

#include <mmsystem.h>

#include <chrono>
#include <thread>

#include "engine/FlashingWnd.h"
#include "engine/FrameGrabber.h"
#include "engine/FrameSchedule.h"
#include "engine/H264FrameEncoder.h"
#include "engine/Mp4FilmWriter.h"
#include "engine/Mp4Recording.h"
#include "engine/RecordingMessages.h"
#include "engine/RecordingState.h"

namespace {

RecordingState& State() { return TheRecordingState; }
bool RecordingActive() { return State().RecordingActive.load() != 0; }

constexpr size_t WaveFormatBytes = 18;  // WAVEFORMATEX without extra bytes

AviAudioStream SoundStreamOf(const WAVEFORMATEX& format) {
    WAVEFORMATEX pcm = format;
    pcm.cbSize = 0;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&pcm);
    return {std::vector<uint8_t>(bytes, bytes + WaveFormatBytes)};
}

}  // namespace

BITMAPINFOHEADER* CRcdAviThread::GrabFrame(int left, int top, int width, int height, bool probe) {
    const GrabSettings in{Job->Settings, &State(), Job->ShowCursor, &m_screenCopy, &m_blocks};
    return ::GrabFrame(in, left, top, width, height, probe);
}

BOOL CRcdAviThread::InitInstance() {
    const RECT& rect = Job->CaptureRect;
    Run run;
    run.area = {rect.left, rect.top, rect.right - rect.left + 1, rect.bottom - rect.top + 1};
    State().PausedTime = 0;
    if (TakeProbe(run, run.area.width, run.area.height)) {
        if (Job->Compressor) FitToChosenCompressor(run);
        if (!run.frameFailed) OpenFile(run);
    }
    // The film's clock starts now; the audio thread may write from here on.
    State().FilmStart = timeGetTime();
    State().RecordingFile = run.writer.get();
    State().FileSettled.Set();
    if (run.writer && RecordingActive()) RecordFrames(run);
    CleanUp(run);
    Notify(run);
    return FALSE;
}

// Replaces the probe frame with a new one of the given size at the area's corner.
bool CRcdAviThread::TakeProbe(Run& run, int width, int height) {
    ReleaseFrame(run.probe);
    run.probe = GrabFrame(run.area.left, run.area.top, width, height, true);
    if (!run.probe) {
        run.frameFailed = true;
        State().RecordingActive = 0;
    }
    return run.probe != nullptr;
}

void CRcdAviThread::FitToChosenCompressor(Run& run) {
    const ICINFO& chosen = *Job->Compressor;
    // The H.264 encoder takes any size: odd sides are cropped in the stream.
    if (IsH264Mp4Handler(chosen.fccHandler)) {
        run.compressorInUse = chosen.fccHandler;
        return;
    }
    if (IsDivHandler(chosen.fccHandler)) {
        run.area = PadForDivHandler(run.area);
        if (!TakeProbe(run, run.area.width, run.area.height)) return;
    }
    HIC compressor = ICOpen(chosen.fccType, chosen.fccHandler, ICMODE_QUERY);
    if (!compressor) return;
    run.compressorInUse = chosen.fccHandler;

    bool firstQuery = true;
    const FitResult fit = FitToCompressor(
        run.area.width, run.area.height, GetSystemMetrics(SM_CXSCREEN),
        GetSystemMetrics(SM_CYSCREEN), [&](int width, int height) {
            if (!firstQuery && !TakeProbe(run, width, height)) return true;  // stop trying
            firstQuery = false;
            return ICSendMessage(compressor, ICM_COMPRESS_QUERY,
                                 reinterpret_cast<DWORD_PTR>(run.probe), 0) == ICERR_OK;
        });
    run.area.width = fit.width;
    run.area.height = fit.height;
    if (!fit.accepted) run.compressorInUse = FourccMSVC;
    ICClose(compressor);
}

// The border, the compressor for the probe's format, then the file with
// its header; a step that fails ends the recording before its first frame.
void CRcdAviThread::OpenFile(Run& run) {
    CFlashingWnd* border = State().BorderWindow.load();
    if (Job->ShowBorder && border) {
        border->SetBorderRegion(run.area.left, run.area.top, run.area.width, run.area.height);
        border->ShowBorder(true);
    }
    const bool mp4 = IsH264Mp4Handler(run.compressorInUse);
    if (mp4)
        run.compressor = std::make_unique<H264FrameEncoder>(*run.probe, Job->VideoQuality,
                                                            Job->KeyFrames, Job->PlayRate);
    else
        run.compressor = std::make_unique<FrameCompressor>(
            run.compressorInUse, *run.probe, Job->VideoQuality, Job->KeyFrames, Job->PlayRate);
    if (!run.compressor->Ready())
        run.compressorFailed = true;
    else if (!(mp4 ? OpenMp4Writer(run) : OpenWriter(run)))
        run.writer.reset();
    ReleaseFrame(run.probe);
    run.probe = nullptr;
    if (!run.writer) State().RecordingActive = 0;
}

bool CRcdAviThread::CreateOutputFile(Run& run) {
    run.file = std::make_unique<WindowsOutputFile>(Job->FileName);
    if (run.file->Opened()) return true;
    run.fileFailure = FileFailure{FileStep::Create, run.file->ErrorCode(), false};
    return false;
}

bool CRcdAviThread::OpenWriter(Run& run) {
    if (!CreateOutputFile(run)) return false;
    AviVideoStream video;
    video.handler = run.compressorInUse;
    video.rate = uint32_t(Job->PlayRate);
    video.quality = uint32_t(Job->VideoQuality);
    video.format = static_cast<const FrameCompressor&>(*run.compressor).OutputFormat();
    const AviAudioStream sound = SoundStreamOf(Job->AudioFormat);
    auto writer = std::make_unique<AviWriter>(*run.file, std::move(video),
                                              Job->HasSoundStream() ? &sound : nullptr);
    const bool opened = writer->Open();
    run.writer = std::move(writer);
    if (opened) return true;
    WriterFailed(run, FileStep::Create);
    return false;
}

bool CRcdAviThread::OpenMp4Writer(Run& run) {
    if (!CreateOutputFile(run)) return false;
    const auto& encoder = static_cast<const H264FrameEncoder&>(*run.compressor);
    Mp4VideoTrack video;
    video.width = uint32_t(encoder.Width());
    video.height = uint32_t(encoder.Height());
    video.sps = encoder.Sps();
    video.pps = encoder.Pps();
    std::optional<PcmLayout> sound;
    const WAVEFORMATEX& wave = Job->AudioFormat;
    if (Job->HasSoundStream())
        sound = PcmLayout{wave.nSamplesPerSec, wave.nChannels, wave.wBitsPerSample};
    auto writer = std::make_unique<Mp4FilmWriter>(*run.file, video, Job->PlayRate, sound);
    const bool opened = writer->Open();
    run.writer = std::move(writer);
    if (opened) return true;
    WriterFailed(run, FileStep::Create);
    return false;
}

void CRcdAviThread::WriterFailed(Run& run, FileStep step) {
    if (!run.fileFailure)
        run.fileFailure = FileFailure{step, run.writer->FileErrorCode(),
                                      run.writer->IndexFull()};
    State().RecordingActive = 0;
}

// Two stages on two threads: this one grabs on schedule and hands the
// frames over; a second one compresses and writes them. A stop, a failure
// of either side or a frame that cannot be had ends the grabbing; the
// writing side then writes what is queued and ends too.
void CRcdAviThread::RecordFrames(Run& run) {
    timeBeginPeriod(1);  // sleeps and the clock to the millisecond
    FrameQueue<GrabbedFrame> queue(QueuedFramesMax);
    run.pace.emplace(run.compressorInUse, Job->VideoQuality);
    std::thread writing([&] { WriteFrames(run, queue); });
    const uint32_t frames = GrabFrames(run, queue);
    State().FilmLengthMs = frames * static_cast<uint32_t>(Job->RecordInterval);
    State().FilmEnded.Set();
    queue.Close();
    writing.join();
    timeEndPeriod(1);
}

uint32_t CRcdAviThread::GrabFrames(Run& run, FrameQueue<GrabbedFrame>& queue) {
    const int interval = Job->RecordInterval;
    bool first = true;
    uint32_t position = 0, lastQueued = 0, elapsed = 0;
    do {
        const auto grabStart = std::chrono::steady_clock::now();
        BITMAPINFOHEADER* frame =
            GrabFrame(run.area.left, run.area.top, run.area.width, run.area.height, false);
        if (!frame) {
            run.frameFailed = true;
            State().RecordingActive = 0;
            return first ? 0 : lastQueued + 1;
        }
        if (Job->Timings) Job->Timings->grabMs.push_back(MsSince(grabStart));
        position = FramePosition(first, position, elapsed, interval);
        const bool wanted = ShouldWriteFrame(first, position, lastQueued);
        if (wanted && queue.TryPush({frame, position, elapsed})) {
            lastQueued = position;
        } else {
            if (wanted) {
                run.pace->FellBehind();
                if (Job->Timings) ++Job->Timings->dropped;
            }
            m_blocks.Give(frame);
        }
        first = false;
        elapsed = SleepUntilDue(run, NextGrabDue(position, elapsed, interval));
    } while (RecordingActive());
    return lastQueued + 1;
}

// Sleeps in slices until the grab is due and returns the recording time
// then. Between the slices is this thread's safe point: a pause parks it
// there, where it holds nothing.
uint32_t CRcdAviThread::SleepUntilDue(Run& run, uint32_t due) {
    const DWORD start = State().FilmStart.load();
    for (;;) {
        if (State().Pause.PauseRequested()) {
            run.grabbingParked = true;
            State().Pause.WaitWhilePaused(State().RecordingActive);
            run.grabbingParked = false;
        }
        const uint32_t elapsed =
            ElapsedRecordingTime(timeGetTime(), State().PausedTime.load(), start);
        const uint32_t sleep = SleepBeforeGrab(due, elapsed);
        if (sleep == 0 || !RecordingActive()) return elapsed;
        Sleep(sleep);
    }
}

// The writing stage: every frame handed over, in order, until the grabbing
// stage has closed the queue and it is empty. After a failure the frames
// left are only released. Meanwhile the file's index keeps up with what
// was written, also by the audio thread.
void CRcdAviThread::WriteFrames(Run& run, FrameQueue<GrabbedFrame>& queue) {
    Progress progress;
    bool failed = false;
    GrabbedFrame grabbed{};
    for (;;) {
        const auto popped = queue.Pop(grabbed, SleepSliceMs);
        if (popped == FrameQueue<GrabbedFrame>::PopResult::Closed) {
            PostProgress(run, progress);  // the last frames since the last report
            return;
        }
        if (popped == FrameQueue<GrabbedFrame>::PopResult::Item) {
            failed = failed || !StoreFrame(run, progress, grabbed);
            m_blocks.Give(grabbed.frame);
        }
        failed = failed || !KeepFileCurrent(run);
        failed = failed || !ParkWithGrabbing(run, queue);
    }
}

// The writing stage parks only once the grabbing stage is parked and every
// frame before the pause is written, and commits first, so that a pause of
// any length keeps what came before it. False when the commit failed.
bool CRcdAviThread::ParkWithGrabbing(Run& run, const FrameQueue<GrabbedFrame>& queue) {
    // Parked before it looked at the queue: the grabbing stage queues
    // nothing more until the pause ends.
    if (!State().Pause.PauseRequested() || !run.grabbingParked || queue.Size() != 0)
        return true;
    if (!run.writer->CommitNow()) {
        WriterFailed(run, FileStep::Write);
        return false;
    }
    State().Pause.WaitWhilePaused(State().RecordingActive);
    return true;
}

// Compresses and writes one frame at its position; false when the
// compressor or the file failed.
bool CRcdAviThread::StoreFrame(Run& run, Progress& progress, const GrabbedFrame& grabbed) {
    FrameEncoder::Result compressed{};
    const auto compressStart = std::chrono::steady_clock::now();
    run.compressor->SetQuality(run.pace->Quality());
    if (!run.compressor->Compress(*grabbed.frame, compressed)) {
        run.compressorFailed = true;
        State().RecordingActive = 0;
        return false;
    }
    const auto writeStart = std::chrono::steady_clock::now();
    if (!run.writer->WriteVideo(grabbed.position, compressed.data, compressed.size,
                                compressed.keyFrame)) {
        WriterFailed(run, FileStep::Write);
        return false;
    }
    if (Job->Timings) {
        Job->Timings->compressMs.push_back(
            std::chrono::duration<double, std::milli>(writeStart - compressStart).count());
        Job->Timings->writeMs.push_back(MsSince(writeStart));
    }
    progress.lastElapsed = grabbed.elapsed;
    if (StatusDue(grabbed.elapsed, progress.lastHalf)) PostProgress(run, progress);
    return true;
}

// The count shown is the file's: skipped positions are frames of it too.
void CRcdAviThread::PostProgress(const Run& run, const Progress& progress) const {
    PostMessageA(Job->MainWindow, WM_RECORD_STATUS, run.writer->VideoPositions(),
                 StatusSeconds(progress.lastElapsed));
}

// A commit when one is due.
bool CRcdAviThread::KeepFileCurrent(Run& run) {
    const bool ok = run.writer->CommitIfDue();
    if (!ok) WriterFailed(run, FileStep::Write);
    return ok;
}

void CRcdAviThread::CleanUp(Run& run) {
    ReleaseFrame(run.probe);
    run.probe = nullptr;
    m_screenCopy.reset();
    m_blocks.Clear();
    // The audio thread writes into the file until it has finished.
    if (Job->RecordAudio) State().AudioFinished.Wait();
    State().RecordingFile = nullptr;
    if (run.writer && !run.writer->Close()) WriterFailed(run, FileStep::Write);
    if (run.writer) run.positionsStored = run.writer->VideoPositions();
    run.writer.reset();
    run.file.reset();
    run.compressor.reset();
    CFlashingWnd* border = State().BorderWindow.load();
    if (Job->ShowBorder && border) border->ShowBorder(false);
}

void CRcdAviThread::Notify(const Run& run) {
    // A frame that could not be allocated was already reported by the grabber.
    // Posted before the message box, so that the main window is back under it.
    if (run.fileFailure || run.compressorFailed || run.frameFailed) {
        PostMessageA(Job->MainWindow, WM_USER_RECORDINTERRUPTED_MSG,
                     run.positionsStored == 0 ? InterruptedBeforeFirstFrame : 0, 0);
    }
    if (run.fileFailure)
        ShowFileFailure(*run.fileFailure, Job->FileName, Job->MainWindow);
    else if (run.compressorFailed)
        AskAfterCompressorFailure(run.compressorInUse);
    PostMessageA(Job->MainWindow, WM_USER_GENERIC_MSG, 0, 0);
}

void CRcdAviThread::AskAfterCompressorFailure(uint32_t compressorInUse) {
    if (compressorInUse == FourccMSVC) {
        MessageBoxA(Job->MainWindow, "Error Creating AVI File", "Error", MB_ICONWARNING | MB_OK);
        return;
    }
    const int answer = MessageBoxA(
        Job->MainWindow, "Error recording AVI file using current compressor. Use default compressor ? ",
        "Note", MB_YESNO | MB_ICONWARNING);
    if (answer == IDYES) PostMessageA(Job->MainWindow, WM_USER_RECORDSTART_MSG, 0, 0);
}
