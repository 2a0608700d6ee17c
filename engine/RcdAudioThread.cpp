#include "engine/RcdAudioThread.h"

#include <algorithm>
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
    Capture capture(Job->AudioFormat);
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

// A device object of this recording's own: one that captured before keeps
// its old capture position (seen under Wine), which a ring of another
// format's size misreads as a stretch of sound that never was.
HRESULT CRcdAudioThread::StartCapture(Capture& capture) const {
    HRESULT hr = DirectSoundCaptureCreate(&*Job->AudioDeviceId, capture.device.Out(), nullptr);
    if (FAILED(hr)) return hr;
    capture.ring = ComputeAudioRing(capture.units);
    DSCBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwBufferBytes = capture.ring.ringSize;
    desc.lpwfxFormat = &capture.format;
    hr = capture.device->CreateCaptureBuffer(&desc, capture.buffer.Out(), nullptr);
    if (FAILED(hr)) return hr;
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
        // Until the first sound is placed, looks come often: each one bounds
        // when the sound was taken.
        const DWORD waitMs = capture.placed ? 50 : 10;
        const DWORD woken =
            MsgWaitForMultipleObjects(1, &capture.blockEvent, FALSE, waitMs, QS_ALLEVENTS);
        // A time-out looks too: a device whose block notifications do not
        // come (seen under Wine right after start-up) still has its sound
        // taken, in whole blocks as ever.
        if (woken != WAIT_OBJECT_0 && woken != WAIT_TIMEOUT) continue;
        const Take take =
            capture.placed || capture.clock.Settled() ? Take::Blocks : Take::LookOnly;
        if (ProcessStep(capture, take) < 0) {
            State().RecordingActive = 0;
            return;
        }
    }
}

// Takes all sound up to the pause's request, parks, and goes on reading as
// far past it as the pause lasted: what the device captured meanwhile is
// left out, also when this thread came to its safe point late.
void CRcdAudioThread::SitOutPause(Capture& capture) {
    if (ProcessStep(capture, Take::Frames, State().Pause.MsSinceRequest()) < 0) {
        State().RecordingActive = 0;
        return;
    }
    const uint32_t pausedBefore = State().PausedTime.load();
    if (!State().Pause.WaitWhilePaused(State().RecordingActive) || !capture.buffer) return;
    DWORD captureCursor = 0, readCursor = 0;
    if (FAILED(capture.buffer->GetCurrentPosition(&captureCursor, &readCursor)) ||
        readCursor >= capture.ring.ringSize)
        return;
    const uint64_t pauseBytes = SpanBytes(State().PausedTime.load() - pausedBefore, capture.units);
    capture.nextReadOffset =
        OffsetAfterPause(capture.nextReadOffset, pauseBytes, readCursor, capture.ring);
    capture.clock.Restart();
}

// Looks at the device's capture position and moves what it captured since
// the last step, but its last leaveMs, into the file, in whole blocks or
// sample frames. Returns 1 when there was nothing to write, 0 after a
// write, a failure result when the ring could not be read or the file
// refused the sound.
HRESULT CRcdAudioThread::ProcessStep(Capture& capture, Take take, uint32_t leaveMs) {
    if (!capture.buffer) return 1;
    DWORD captureCursor = 0, readCursor = 0;
    HRESULT hr = capture.buffer->GetCurrentPosition(&captureCursor, &readCursor);
    if (FAILED(hr)) return hr;
    const DWORD now = timeGetTime();
    // A position outside the ring names none of its sound.
    if (readCursor >= capture.ring.ringSize) return 1;
    const uint32_t captured =
        CapturedBytes(readCursor, capture.nextReadOffset, capture.ring.ringSize);
    if (!capture.placed) capture.clock.Observe(now, captured / capture.units.frameBytes);
    if (take == Take::LookOnly) return 1;
    const uint32_t kept = BytesBeforePause(captured, leaveMs, capture.units);
    const uint32_t bytes =
        WholeBlockBytes(kept, take == Take::Blocks ? capture.ring.blockSize : capture.units.frameBytes);
    if (bytes == 0) return 1;
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstLength = 0, secondLength = 0;
    hr = capture.buffer->Lock(capture.nextReadOffset, bytes, &first, &firstLength, &second,
                              &secondLength, 0);
    if (FAILED(hr)) return hr;
    std::vector<unsigned char> transfer(firstLength + secondLength);
    std::memcpy(transfer.data(), first, firstLength);
    if (second) std::memcpy(transfer.data() + firstLength, second, secondLength);
    capture.nextReadOffset = OffsetAfterTake(capture.nextReadOffset, firstLength, second != nullptr,
                                             secondLength, capture.ring.ringSize);
    capture.buffer->Unlock(first, firstLength, second, secondLength);

    return WriteSound(capture, transfer) ? 0 : E_FAIL;
}

bool CRcdAudioThread::WriteSound(Capture& capture, const std::vector<unsigned char>& sound) {
    if (!capture.placed && !PlaceFirstSound(capture)) return false;
    const size_t skip = static_cast<size_t>(std::min<uint64_t>(capture.skipBytes, sound.size()));
    capture.skipBytes -= skip;
    if (skip == sound.size()) return true;
    return capture.file->WriteAudio(sound.data() + skip, static_cast<uint32_t>(sound.size() - skip));
}

// The first sound goes where the device's capture position says it was
// taken: a device that starts late (about 1.5 s under Wine) has silence put
// before its sound, sound from before the film began is left out.
bool CRcdAudioThread::PlaceFirstSound(Capture& capture) {
    capture.placed = true;
    const int64_t frames =
        capture.clock.FilmFrames(State().FilmStart.load(), State().PausedTime.load());
    if (frames < 0) {
        capture.skipBytes = static_cast<uint64_t>(-frames) * capture.units.frameBytes;
        return true;
    }
    const std::vector<unsigned char> silence(static_cast<size_t>(frames) * capture.units.frameBytes,
                                             SilenceByte(capture.format.wBitsPerSample));
    return silence.empty() ||
           capture.file->WriteAudio(silence.data(), static_cast<uint32_t>(silence.size()));
}

// Stops the ring and takes every whole sample frame left, so that the sound
// lasts as long as the film.
HRESULT CRcdAudioThread::StopCapture(Capture& capture) {
    if (!capture.buffer) return 0;
    const HRESULT hr = capture.buffer->Stop();
    if (FAILED(hr)) return hr;
    const HRESULT last = ProcessStep(capture, Take::Frames);
    return last < 0 ? last : 0;
}

void CRcdAudioThread::CleanUp(Capture& capture) {
    capture.file = nullptr;
    if (capture.blockEvent) CloseHandle(capture.blockEvent);
    capture.blockEvent = nullptr;
    capture.notifier.Reset();
    capture.buffer.Reset();
    capture.device.Reset();
}
