#include "engine/RcdAviThread.h"

#include <mmsystem.h>

#include "engine/FlashingWnd.h"
#include "engine/FrameGrabber.h"
#include "engine/FrameSchedule.h"
#include "engine/RecordingMessages.h"
#include "engine/RecordingState.h"

namespace {

constexpr DWORD AudioStreamWaitMs = 3000;

RecordingState& State() { return TheRecordingState; }
bool RecordingActive() { return State().RecordingActive.load() != 0; }

AVISTREAMINFOA VideoStreamHeader(const BITMAPINFOHEADER& probe, int playRate) {
    AVISTREAMINFOA info{};
    info.fccType = streamtypeVIDEO;
    info.dwScale = 1;
    info.dwRate = static_cast<DWORD>(playRate);
    info.dwSuggestedBufferSize = probe.biSizeImage;
    SetRect(&info.rcFrame, 0, 0, probe.biWidth, probe.biHeight);
    return info;
}

LONG FormatSize(const BITMAPINFOHEADER& frame) {
    return static_cast<LONG>(frame.biSize + 4 * frame.biClrUsed);
}

void* PixelsOf(BITMAPINFOHEADER* frame) {
    return reinterpret_cast<BYTE*>(frame) + FormatSize(*frame);
}

}  // namespace

BITMAPINFOHEADER* CRcdAviThread::GrabFrame(int left, int top, int width, int height, bool probe) {
    const GrabSettings in{Settings, &State(), ShowCursor};
    return ::GrabFrame(in, left, top, width, height, probe);
}

BOOL CRcdAviThread::InitInstance() {
    Run run;
    run.area = {CaptureRect.left, CaptureRect.top, CaptureRect.right - CaptureRect.left + 1,
                CaptureRect.bottom - CaptureRect.top + 1};
    State().PausedTime = 0;
    {
        std::lock_guard<std::mutex> guard(State().AviFileLock);
        State().FirstFrameWritten = 0;
        State().AudioStreamSettled = 0;
    }
    if (TakeProbe(run, run.area.width, run.area.height)) {
        if (Compressor) FitToChosenCompressor(run);
        if (!run.frameFailed) OpenFile(run);
    }
    if (!run.fileResult && !run.frameFailed && RecordingActive()) RecordFrames(run);
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
    if (IsDivHandler(Compressor->fccHandler)) {
        run.area = PadForDivHandler(run.area);
        if (!TakeProbe(run, run.area.width, run.area.height)) return;
    }
    HIC compressor = ICOpen(Compressor->fccType, Compressor->fccHandler, ICMODE_QUERY);
    if (!compressor) return;
    run.compressorInUse = Compressor->fccHandler;

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

void CRcdAviThread::Fail(Run& run, HRESULT result) {
    if (!run.fileResult) run.fileResult = result;
    State().RecordingActive = 0;
}

void CRcdAviThread::OpenFile(Run& run) {
    CFlashingWnd* border = State().BorderWindow.load();
    if (ShowBorder && border) {
        border->SetBorderRegion(run.area.left, run.area.top, run.area.width, run.area.height);
        border->ShowWindow(SW_SHOW);
    }
    AVIFileInit();
    run.aviLibraryOpen = true;
    const HRESULT hr = CreateVideoStream(run);
    ReleaseFrame(run.probe);
    run.probe = nullptr;
    if (hr != 0) {
        Fail(run, hr);
        return;
    }
    // Only a file whose video stream is complete is handed to the audio
    // thread: a stream added earlier would leave this one's format empty.
    State().RecordingAviFile = run.file;
}

HRESULT CRcdAviThread::CreateVideoStream(Run& run) {
    std::lock_guard<std::mutex> guard(State().AviFileLock);
    HRESULT hr = AVIFileOpenA(&run.file, FileName.c_str(), OF_WRITE | OF_CREATE, nullptr);
    if (hr != 0) return hr;
    AVISTREAMINFOA header = VideoStreamHeader(*run.probe, PlayRate);
    hr = AVIFileCreateStreamA(run.file, &run.stream, &header);
    if (hr != 0) return hr;
    run.options.fccType = streamtypeVIDEO;
    run.options.fccHandler = run.compressorInUse;
    run.options.dwKeyFrameEvery = static_cast<DWORD>(KeyFrames);
    run.options.dwQuality = static_cast<DWORD>(VideoQuality);
    run.options.dwFlags = AVICOMPRESSF_KEYFRAMES | AVICOMPRESSF_VALID;
    hr = AVIMakeCompressedStream(&run.compressed, run.stream, &run.options, nullptr);
    if (hr != 0) return hr;
    return AVIStreamSetFormat(run.compressed, 0, run.probe, FormatSize(*run.probe));
}

// The writer takes no new stream once a frame is in the file, so with sound
// on the first frame waits (3 s at most) until the audio thread has its
// stream and its sound is coming in.
void CRcdAviThread::WaitForAudioStream() {
    if (!RecordAudio) return;
    const DWORD start = timeGetTime();
    while (RecordingActive() && !State().AudioStreamSettled.load() &&
           timeGetTime() - start < AudioStreamWaitMs)
        Sleep(10);
}

HRESULT CRcdAviThread::WriteFrame(Run& run, uint32_t position, BITMAPINFOHEADER* frame) {
    std::lock_guard<std::mutex> guard(State().AviFileLock);
    State().FirstFrameWritten = 1;
    return AVIStreamWrite(run.compressed, static_cast<LONG>(position), 1, PixelsOf(frame),
                          static_cast<LONG>(frame->biSizeImage), 0, nullptr, nullptr);
}

void CRcdAviThread::RecordFrames(Run& run) {
    WaitForAudioStream();
    const DWORD start = timeGetTime();
    Loop loop;
    do {
        const uint32_t elapsed =
            loop.first ? 0 : ElapsedRecordingTime(timeGetTime(), State().PausedTime.load(), start);
        BITMAPINFOHEADER* frame =
            GrabFrame(run.area.left, run.area.top, run.area.width, run.area.height, false);
        if (!frame) {
            run.frameFailed = true;
            State().RecordingActive = 0;
            return;
        }
        const bool stored = StoreFrame(run, loop, frame, elapsed);
        ReleaseFrame(frame);
        if (!stored) return;
        SleepAfterFrame();
    } while (RecordingActive());
}

// Writes the frame at its position unless the position was taken already;
// false when the write failed.
bool CRcdAviThread::StoreFrame(Run& run, Loop& loop, BITMAPINFOHEADER* frame, uint32_t elapsed) {
    loop.position = FramePosition(loop.first, loop.position, elapsed, RecordInterval);
    const bool write = ShouldWriteFrame(loop.first, loop.position, loop.lastWritten);
    loop.first = false;
    if (!write) return true;
    const HRESULT hr = WriteFrame(run, loop.position, frame);
    if (hr != 0) {
        Fail(run, hr);
        return false;
    }
    ++loop.framesWritten;
    if (StatusDue(elapsed, loop.lastHalf))
        PostMessageA(MainWindow, WM_RECORD_STATUS, loop.framesWritten, StatusSeconds(elapsed));
    loop.lastWritten = loop.position;
    return true;
}

// The sleep between frames is the thread's safe point: a pause parks it
// here, between slices, where it holds nothing.
void CRcdAviThread::SleepAfterFrame() {
    State().Pause.WaitWhilePaused(State().RecordingActive);
    for (int i = 0; i < SleepSlices(RecordInterval); ++i) {
        Sleep(SleepSliceMs);
        if (!RecordingActive()) return;
        State().Pause.WaitWhilePaused(State().RecordingActive);
    }
    if (RecordingActive()) Sleep(SleepRemainder(RecordInterval));
}

void CRcdAviThread::CleanUp(Run& run) {
    ReleaseFrame(run.probe);
    run.probe = nullptr;
    AVICOMPRESSOPTIONS* options[] = {&run.options};
    AVISaveOptionsFree(1, options);
    while (State().AudioThreadActive.load() != 0) Sleep(100);
    State().RecordingAviFile = nullptr;
    {
        std::lock_guard<std::mutex> guard(State().AviFileLock);
        if (run.file) AVIFileRelease(run.file);
        if (run.stream) AVIStreamRelease(run.stream);
        if (run.compressed) AVIStreamRelease(run.compressed);
    }
    if (run.aviLibraryOpen) AVIFileExit();
    CFlashingWnd* border = State().BorderWindow.load();
    if (ShowBorder && border) border->ShowWindow(SW_HIDE);
}

void CRcdAviThread::Notify(const Run& run) {
    // A frame that could not be allocated was already reported by the grabber.
    if (run.fileResult || run.frameFailed)
        PostMessageA(MainWindow, WM_USER_RECORDINTERRUPTED_MSG, 0, 0);
    if (run.fileResult) AskAfterFileFailure(run.compressorInUse);
    PostMessageA(MainWindow, WM_USER_GENERIC_MSG, 0, 0);
}

void CRcdAviThread::AskAfterFileFailure(uint32_t compressorInUse) {
    if (compressorInUse == FourccMSVC) {
        MessageBoxA(nullptr, "Error Creating AVI File", "Error", MB_ICONWARNING | MB_OK);
        return;
    }
    const int answer = MessageBoxA(
        nullptr, "Error recording AVI file using current compressor. Use default compressor ? ",
        "Note", MB_YESNO | MB_ICONWARNING);
    if (answer == IDYES) PostMessageA(MainWindow, WM_USER_RECORDSTART_MSG, 0, 0);
}
