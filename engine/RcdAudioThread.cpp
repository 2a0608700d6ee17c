#include "engine/RcdAudioThread.h"

#include <cstring>
#include <vector>

#include "avi/AviWriter.h"
#include "engine/RecordingState.h"

namespace {

RecordingState& State() { return TheRecordingState; }
bool RecordingActive() { return State().RecordingActive.load() != 0; }

}  // namespace

BOOL CRcdAudioThread::InitInstance() {
    CoInitialize(nullptr);
    State().AudioThreadActive = 1;
    Capture capture;
    capture.format = Job->AudioFormat;
    capture.blockEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    // The video thread opens the file, with a sound stream, or gives up.
    State().FileSettled.Wait();
    capture.file = State().RecordingAviFile.load();
    if (capture.file && Job->HasSoundStream() && RecordingActive() &&
        SUCCEEDED(StartCapture(capture))) {
        CaptureUntilStopped(capture);
        StopCapture(capture);
    }
    CleanUp(capture);
    State().AudioThreadActive = 0;
    State().AudioFinished.Set();
    CoUninitialize();
    return FALSE;
}

HRESULT CRcdAudioThread::StartCapture(Capture& capture) const {
    capture.notifier.Reset();
    capture.buffer.Reset();
    IDirectSoundCapture* device = Job->AudioDevice.Get();
    if (!device) return E_FAIL;
    capture.ring = ComputeAudioRing(capture.format.nAvgBytesPerSec, capture.format.nBlockAlign);
    DSCBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwBufferBytes = capture.ring.ringSize;
    desc.lpwfxFormat = &capture.format;
    HRESULT hr = device->CreateCaptureBuffer(&desc, capture.buffer.Out(), nullptr);
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
        // A time-out looks too: a device whose block notifications do not
        // come (seen under Wine right after start-up) still has its sound
        // taken, in whole blocks as ever.
        if ((woken == WAIT_OBJECT_0 || woken == WAIT_TIMEOUT) &&
            ProcessStep(capture, capture.ring.blockSize) < 0) {
            State().RecordingActive = 0;
            return;
        }
    }
}

// Takes all sound up to the pause's request, parks, and goes on reading as
// far past it as the pause lasted: what the device captured meanwhile is
// left out, also when this thread came to its safe point late.
void CRcdAudioThread::SitOutPause(Capture& capture) {
    if (ProcessStep(capture, capture.format.nBlockAlign, State().Pause.MsSinceRequest()) < 0) {
        State().RecordingActive = 0;
        return;
    }
    const uint32_t pausedBefore = State().PausedTime.load();
    if (!State().Pause.WaitWhilePaused(State().RecordingActive) || !capture.buffer) return;
    DWORD captureCursor = 0, readCursor = 0;
    if (FAILED(capture.buffer->GetCurrentPosition(&captureCursor, &readCursor))) return;
    const uint32_t pauseBytes =
        SpanBytes(State().PausedTime.load() - pausedBefore, capture.format.nAvgBytesPerSec,
                   capture.format.nBlockAlign);
    capture.nextReadOffset =
        OffsetAfterPause(capture.nextReadOffset, pauseBytes, readCursor, capture.ring);
}

// Moves everything captured since the last step but its last leaveMs, in
// whole units (blocks, or sample frames before a pause), into the file.
// Returns 1 when there was nothing to write, 0 after a write, a failure
// result when the ring could not be read or the file refused the sound.
HRESULT CRcdAudioThread::ProcessStep(Capture& capture, uint32_t unit, uint32_t leaveMs) {
    if (!capture.buffer) return 1;
    DWORD captureCursor = 0, readCursor = 0;
    HRESULT hr = capture.buffer->GetCurrentPosition(&captureCursor, &readCursor);
    if (FAILED(hr)) return hr;
    const uint32_t captured =
        CapturedBytes(readCursor, capture.nextReadOffset, capture.ring.ringSize);
    const uint32_t kept = BytesBeforePause(captured, leaveMs, capture.format.nAvgBytesPerSec,
                                           capture.format.nBlockAlign);
    const uint32_t take = WholeBlockBytes(kept, unit);
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

    return WriteSound(capture, transfer, captured) ? 0 : E_FAIL;
}

// The first sound the device delivers comes some time after the film began
// (about 1.5 s under Wine): silence of that length goes before it, so that
// sound and picture stay together from the first frame.
bool CRcdAudioThread::WriteSound(Capture& capture, const std::vector<unsigned char>& sound,
                                 uint32_t captured) {
    if (!capture.soundArrived) {
        capture.soundArrived = true;
        const uint32_t leadMs =
            LeadInMs(timeGetTime(), captured, capture.format.nAvgBytesPerSec,
                     State().FilmStart.load(), State().PausedTime.load());
        const uint32_t bytes =
            SpanBytes(leadMs, capture.format.nAvgBytesPerSec, capture.format.nBlockAlign);
        const unsigned char silent = capture.format.wBitsPerSample == 8 ? 0x80 : 0;
        const std::vector<unsigned char> silence(bytes, silent);
        if (bytes && !capture.file->WriteAudio(silence.data(), bytes)) return false;
    }
    return capture.file->WriteAudio(sound.data(), static_cast<uint32_t>(sound.size()));
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
    capture.file = nullptr;
    if (capture.blockEvent) CloseHandle(capture.blockEvent);
    capture.blockEvent = nullptr;
    capture.notifier.Reset();
    capture.buffer.Reset();
}
