#include "engine/RcdAudioThread.h"

#include <cstring>
#include <vector>

#include "engine/RecordingState.h"

namespace {

constexpr DWORD SoundStartWaitMs = 2500;

RecordingState& State() { return TheRecordingState; }
bool RecordingActive() { return State().RecordingActive.load() != 0; }

AVISTREAMINFOA AudioStreamHeader(const WAVEFORMATEX& format) {
    AVISTREAMINFOA info{};
    info.fccType = streamtypeAUDIO;
    info.dwScale = format.nBlockAlign;
    info.dwRate = format.nSamplesPerSec * format.nBlockAlign;
    info.dwQuality = static_cast<DWORD>(-1);
    info.dwSampleSize = format.nBlockAlign;
    return info;
}

}  // namespace

BOOL CRcdAudioThread::InitInstance() {
    CoInitialize(nullptr);
    State().AudioThreadActive = 1;
    Capture capture;
    capture.format = Format;
    capture.blockEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (PAVIFILE file = WaitForFile()) {
        CreateStream(capture, file);
        if (capture.stream && SUCCEEDED(StartCapture(capture))) WaitForSound(capture);
        State().AudioStreamSettled = 1;
        if (capture.stream) {
            CaptureUntilStopped(capture);
            StopCapture(capture);
        }
    }
    CleanUp(capture);
    State().AudioThreadActive = 0;
    CoUninitialize();
    return FALSE;
}

// The file of the recording, once the video thread has published it; null
// when the recording ends first.
PAVIFILE CRcdAudioThread::WaitForFile() {
    while (RecordingActive()) {
        if (PAVIFILE file = State().RecordingAviFile.load()) return file;
        Sleep(50);
    }
    return nullptr;
}

// Without a capture format, or once the first frame is in the file (the
// writer takes no stream after it), there is no audio stream and nothing is
// written; the video goes on.
void CRcdAudioThread::CreateStream(Capture& capture, PAVIFILE file) {
    {
        std::lock_guard<std::mutex> guard(State().AviFileLock);
        if (capture.format.nBlockAlign != 0 && !State().FirstFrameWritten) {
            AVISTREAMINFOA header = AudioStreamHeader(capture.format);
            if (AVIFileCreateStreamA(file, &capture.stream, &header) == 0 &&
                AVIStreamSetFormat(capture.stream, 0, &capture.format, sizeof(WAVEFORMATEX)) != 0) {
                AVIStreamRelease(capture.stream);
                capture.stream = nullptr;
            }
        }
    }
}

// A started device delivers its first sound only after a while (about 1.5 s
// measured under Wine); the picture starts when the sound does, so that the
// two stay together from the first frame.
void CRcdAudioThread::WaitForSound(Capture& capture) {
    const DWORD start = timeGetTime();
    DWORD captureCursor = 0, readCursor = 0;
    while (RecordingActive() && timeGetTime() - start < SoundStartWaitMs &&
           SUCCEEDED(capture.buffer->GetCurrentPosition(&captureCursor, &readCursor)) &&
           readCursor == 0)
        Sleep(10);
}

HRESULT CRcdAudioThread::StartCapture(Capture& capture) const {
    capture.notifier.Reset();
    capture.buffer.Reset();
    if (!Device) return E_FAIL;
    capture.ring = ComputeAudioRing(capture.format.nAvgBytesPerSec, capture.format.nBlockAlign);
    DSCBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwBufferBytes = capture.ring.ringSize;
    desc.lpwfxFormat = &capture.format;
    HRESULT hr = Device->CreateCaptureBuffer(&desc, capture.buffer.Out(), nullptr);
    if (FAILED(hr)) return hr;
    capture.nextReadOffset = 0;
    hr = capture.buffer->QueryInterface(IID_IDirectSoundNotify,
                                        reinterpret_cast<void**>(capture.notifier.Out()));
    if (FAILED(hr)) return hr;
    DSBPOSITIONNOTIFY table[AudioRingBlocks];
    for (int k = 1; k <= AudioRingBlocks; ++k)
        table[k - 1] = {BlockEndOffset(k, capture.ring.blockSize), capture.blockEvent};
    hr = capture.notifier->SetNotificationPositions(AudioRingBlocks, table);
    if (FAILED(hr)) return hr;
    return capture.buffer->Start(DSCBSTART_LOOPING);
}

// Waits on the block event and moves whole blocks into the file. The wait is
// the thread's safe point for a pause: what the device captures while paused
// is dropped at the resume, as the video leaves the pause out too.
void CRcdAudioThread::CaptureUntilStopped(Capture& capture) {
    while (RecordingActive()) {
        if (State().Pause.PauseRequested()) SitOutPause(capture);
        const DWORD woken =
            MsgWaitForMultipleObjects(1, &capture.blockEvent, FALSE, 50, QS_ALLEVENTS);
        if (woken == WAIT_OBJECT_0 && ProcessStep(capture, capture.ring.blockSize) < 0) {
            State().RecordingActive = 0;
            return;
        }
    }
}

// Takes all sound up to the pause, parks, and goes on reading as far past
// it as the pause lasted: what the device captured meanwhile is left out.
void CRcdAudioThread::SitOutPause(Capture& capture) {
    if (ProcessStep(capture, capture.format.nBlockAlign) < 0) {
        State().RecordingActive = 0;
        return;
    }
    const uint32_t pausedBefore = State().PausedTime.load();
    if (!State().Pause.WaitWhilePaused(State().RecordingActive) || !capture.buffer) return;
    DWORD captureCursor = 0, readCursor = 0;
    if (FAILED(capture.buffer->GetCurrentPosition(&captureCursor, &readCursor))) return;
    const uint32_t pauseBytes =
        PauseBytes(State().PausedTime.load() - pausedBefore, capture.format.nAvgBytesPerSec,
                   capture.format.nBlockAlign);
    capture.nextReadOffset =
        OffsetAfterPause(capture.nextReadOffset, pauseBytes, readCursor, capture.ring);
}

// Moves everything captured since the last step, in whole units (blocks, or
// sample frames before a pause), into the file at the stream's end. Returns
// 1 when there was nothing to write, 0 after a write, a failure result when
// the ring could not be read.
HRESULT CRcdAudioThread::ProcessStep(Capture& capture, uint32_t unit) {
    if (!capture.buffer) return 1;
    DWORD captureCursor = 0, readCursor = 0;
    HRESULT hr = capture.buffer->GetCurrentPosition(&captureCursor, &readCursor);
    if (FAILED(hr)) return hr;
    const uint32_t take = WholeBlockBytes(
        CapturedBytes(readCursor, capture.nextReadOffset, capture.ring.ringSize), unit);
    if (take == 0) return 1;
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstLength = 0, secondLength = 0;
    hr = capture.buffer->Lock(capture.nextReadOffset, take, &first, &firstLength, &second,
                              &secondLength, 0);
    if (FAILED(hr)) return hr;
    std::vector<unsigned char> transfer(firstLength + secondLength);
    std::memcpy(transfer.data(), first, firstLength);
    if (second) std::memcpy(transfer.data() + firstLength, second, secondLength);
    capture.nextReadOffset = OffsetAfterTake(capture.nextReadOffset, firstLength, second != nullptr,
                                             secondLength, capture.ring.ringSize);
    capture.buffer->Unlock(first, firstLength, second, secondLength);

    const LONG samples = static_cast<LONG>(transfer.size() / capture.format.nBlockAlign);
    std::lock_guard<std::mutex> guard(State().AviFileLock);
    // The stream's own end is the next sample position; the writer under
    // Wine counts the length in writes, so a computed position would fail.
    const LONG position = AVIStreamStart(capture.stream) + AVIStreamLength(capture.stream);
    AVIStreamWrite(capture.stream, position, samples, transfer.data(),
                   static_cast<LONG>(transfer.size()), 0, nullptr, nullptr);
    return 0;
}

// Stops the ring and takes the last whole blocks.
HRESULT CRcdAudioThread::StopCapture(Capture& capture) {
    if (!capture.buffer) return 0;
    const HRESULT hr = capture.buffer->Stop();
    if (FAILED(hr)) return hr;
    const HRESULT last = ProcessStep(capture, capture.ring.blockSize);
    return last < 0 ? last : 0;
}

void CRcdAudioThread::CleanUp(Capture& capture) {
    if (capture.stream) {
        std::lock_guard<std::mutex> guard(State().AviFileLock);
        AVIStreamRelease(capture.stream);
        capture.stream = nullptr;
    }
    if (capture.blockEvent) CloseHandle(capture.blockEvent);
    capture.blockEvent = nullptr;
    capture.notifier.Reset();
    capture.buffer.Reset();
}
