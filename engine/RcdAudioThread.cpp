#include "engine/RcdAudioThread.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "avi/FilmWriter.h"
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
    capture.file = State().RecordingFile.load();
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
    capture.startedMs = timeGetTime();
    return capture.buffer->Start(DSCBSTART_LOOPING);
}

// Waits on the block event and moves whole blocks into the file. The wait is
// the thread's safe point for a pause: what the device captures while paused
// is dropped at the resume, as the video leaves the pause out too.
void CRcdAudioThread::CaptureUntilStopped(Capture& capture) const {
    while (RecordingActive()) {
        if (State().Pause.PauseRequested()) SitOutPause(capture);
        if (!RestartIfSilent(capture)) return;
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

// A device that has delivered nothing for seconds after its start is opened
// afresh, a few times at most: under Wine a capture stream now and then
// never starts, for the whole recording. The silence before the first sound
// keeps the film's timing. False when the device cannot be opened again.
bool CRcdAudioThread::RestartIfSilent(Capture& capture) const {
    if (capture.clock.Known() || capture.restarts >= SilentStartRestarts ||
        timeGetTime() - capture.startedMs < SilentStartMs)
        return true;
    ++capture.restarts;
    capture.buffer->Stop();
    capture.notifier.Reset();
    capture.buffer.Reset();
    capture.device.Reset();
    capture.nextReadOffset = 0;
    capture.clock.Restart();
    return SUCCEEDED(StartCapture(capture));
}

// Takes all sound up to the pause's request, parks, and goes on reading as
// far past it as the pause lasted: what the device captured meanwhile is
// left out, also when this thread came to its safe point late.
void CRcdAudioThread::SitOutPause(Capture& capture) {
    // Read first: a short pause may be over, and counted, before this
    // thread parks.
    const uint32_t pausedBefore = State().PausedTime.load();
    const uint32_t requestedAt = timeGetTime() - State().Pause.MsSinceRequest();
    if (TakeUntil(capture, requestedAt) < 0) {
        State().RecordingActive = 0;
        return;
    }
    State().Pause.WaitWhilePaused(State().RecordingActive);
    if (!RecordingActive() || !capture.buffer) return;
    // Left out: the pause, and any sound from before it that the device did
    // not deliver in time.
    const int64_t missing = capture.clock.Known() ? capture.clock.FramesUntil(requestedAt) : 0;
    const uint64_t skipFrames =
        static_cast<uint64_t>(std::max<int64_t>(missing, 0)) +
        SpanFrames(State().PausedTime.load() - pausedBefore, capture.units.rate);
    const uint32_t target =
        ResumeOffset(capture.nextReadOffset, skipFrames * capture.units.frameBytes, capture.ring);
    if (!AwaitDelivery(capture, target)) return;
    capture.nextReadOffset = target;
    capture.clock.Advance(skipFrames);
}

// The sound at the pause's end comes from the device a moment after it:
// reading goes on there once it has come. A device that does not get there
// within a fifth of a second has its reading go on where it is.
bool CRcdAudioThread::AwaitDelivery(Capture& capture, uint32_t offset) {
    const DWORD deadline = timeGetTime() + 200;
    for (;;) {
        DWORD captureCursor = 0, readCursor = 0;
        if (FAILED(capture.buffer->GetCurrentPosition(&captureCursor, &readCursor)) ||
            readCursor >= capture.ring.ringSize)
            return false;
        if (!AheadOfCursor(offset, readCursor, capture.ring)) return true;
        if (static_cast<int32_t>(timeGetTime() - deadline) >= 0) {
            capture.nextReadOffset = readCursor;
            capture.clock.Restart();
            return false;
        }
        Sleep(5);
    }
}

// Takes the sound captured before momentMs. The device delivers it a moment
// later (its packets, 10 to 20 ms under Wine): this waits for it, a fifth of
// a second at most.
HRESULT CRcdAudioThread::TakeUntil(Capture& capture, uint32_t momentMs) {
    const DWORD deadline = timeGetTime() + 200;
    for (;;) {
        const HRESULT hr = ProcessStep(capture, Take::Frames, momentMs);
        if (FAILED(hr) || !capture.clock.Known() || capture.clock.FramesUntil(momentMs) <= 0 ||
            static_cast<int32_t>(timeGetTime() - deadline) >= 0)
            return hr;
        Sleep(5);
    }
}

// Of the bytes the ring holds, those captured before untilMs, in whole
// sample frames. The device's position at a look is only as new as its last
// packet, so the clock says best where that moment lies; before it knows,
// the newest byte counts as taken now.
uint32_t CRcdAudioThread::BytesTakenBefore(const Capture& capture, uint32_t captured,
                                           uint32_t untilMs, uint32_t nowMs) {
    if (!capture.clock.Known()) return BytesBeforePause(captured, nowMs - untilMs, capture.units);
    const int64_t frames = capture.clock.FramesUntil(untilMs);
    const int64_t held = captured / capture.units.frameBytes;
    return static_cast<uint32_t>(std::clamp<int64_t>(frames, 0, held)) * capture.units.frameBytes;
}

// Looks at the device's capture position and moves what it captured since
// the last step, but what came after untilMs, into the file, in whole
// blocks or sample frames. Returns 1 when there was nothing to write, 0
// after a write, a failure result when the ring could not be read or the
// file refused the sound.
HRESULT CRcdAudioThread::ProcessStep(Capture& capture, Take take, std::optional<uint32_t> untilMs) {
    if (!capture.buffer) return 1;
    DWORD captureCursor = 0, readCursor = 0;
    HRESULT hr = capture.buffer->GetCurrentPosition(&captureCursor, &readCursor);
    if (FAILED(hr)) return hr;
    const DWORD now = timeGetTime();
    // A position outside the ring names none of its sound.
    if (readCursor >= capture.ring.ringSize) return 1;
    const uint32_t captured =
        CapturedBytes(readCursor, capture.nextReadOffset, capture.ring.ringSize);
    capture.clock.Observe(now, captured / capture.units.frameBytes);
    if (take == Take::LookOnly) return 1;
    const uint32_t kept = untilMs ? BytesTakenBefore(capture, captured, *untilMs, now) : captured;
    const uint32_t bytes = WholeBlockBytes(
        kept, take == Take::Blocks ? capture.ring.blockSize : capture.units.frameBytes);
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
    // The placing of the first sound needs the clock where the read point
    // was before this take.
    const bool written = WriteSound(capture, transfer);
    capture.clock.Advance(transfer.size() / capture.units.frameBytes);
    return written ? 0 : E_FAIL;
}

// What may still be written before the film's end.
uint64_t CRcdAudioThread::RoomBytes(const Capture& capture) {
    return capture.limitBytes - std::min(capture.limitBytes, capture.writtenBytes);
}

// Writes the sound, less what came before the film began and what goes
// past the film's end.
bool CRcdAudioThread::WriteSound(Capture& capture, const std::vector<unsigned char>& sound) {
    if (!capture.placed && !PlaceFirstSound(capture)) return false;
    const uint64_t skip = std::min<uint64_t>(capture.skipBytes, sound.size());
    capture.skipBytes -= skip;
    const uint64_t room = RoomBytes(capture);
    const uint64_t bytes = std::min<uint64_t>(sound.size() - skip, room);
    if (bytes == 0) return true;
    capture.writtenBytes += bytes;
    return capture.file->WriteAudio(sound.data() + skip, static_cast<uint32_t>(bytes));
}

// The first sound goes where the device's capture position says it was
// taken: a device that starts late (about 1.5 s under Wine) has silence put
// before its sound, sound from before the film began is left out.
bool CRcdAudioThread::PlaceFirstSound(Capture& capture) {
    capture.placed = true;
    const int64_t frames =
        capture.clock.FilmFrames(State().FilmStart.load(), State().PausedTime.load());
    if (frames >= 0) return WriteSilence(capture, static_cast<uint64_t>(frames));
    capture.skipBytes = static_cast<uint64_t>(-frames) * capture.units.frameBytes;
    return true;
}

bool CRcdAudioThread::WriteSilence(Capture& capture, uint64_t frames) {
    const uint64_t room = RoomBytes(capture);
    const uint64_t bytes = std::min(frames * capture.units.frameBytes, room);
    if (bytes == 0) return true;
    const std::vector<unsigned char> silence(static_cast<size_t>(bytes),
                                             SilenceByte(capture.format.wBitsPerSample));
    capture.writtenBytes += bytes;
    return capture.file->WriteAudio(silence.data(), static_cast<uint32_t>(bytes));
}

// The film's last frame lasts its interval past the stop, and the device
// delivers its sound a moment after it was taken: once the film's length
// is known, the sound is captured up to it, ends exactly there, and what a
// device failed to deliver in time is silence.
HRESULT CRcdAudioThread::StopCapture(Capture& capture) {
    if (!capture.buffer) return 0;
    HRESULT hr = 0;
    if (State().FilmEnded.WaitFor(std::chrono::seconds(5))) {
        capture.limitBytes = SpanFrames(State().FilmLengthMs.load(), capture.units.rate) *
                             capture.units.frameBytes;
        hr = CaptureToFilmEnd(capture);
    }
    const HRESULT stopped = capture.buffer->Stop();
    if (FAILED(hr) || FAILED(stopped)) return FAILED(hr) ? hr : stopped;
    hr = ProcessStep(capture, Take::Frames);
    if (FAILED(hr)) return hr;
    if (!capture.placed) PlaceFirstSound(capture);
    const uint64_t missing = capture.limitBytes == UINT64_MAX
                                 ? 0
                                 : RoomBytes(capture);
    return WriteSilence(capture, missing / capture.units.frameBytes) ? 0 : E_FAIL;
}

// Takes sound until it reaches the film's end, waiting at most half a
// second past the moment the film's last frame ends.
HRESULT CRcdAudioThread::CaptureToFilmEnd(Capture& capture) {
    const DWORD deadline = State().FilmStart.load() + State().PausedTime.load() +
                           State().FilmLengthMs.load() + 500;
    while (capture.writtenBytes < capture.limitBytes &&
           static_cast<int32_t>(timeGetTime() - deadline) < 0) {
        const HRESULT hr = ProcessStep(capture, Take::Frames);
        if (FAILED(hr)) return hr;
        Sleep(10);
    }
    return 0;
}

void CRcdAudioThread::CleanUp(Capture& capture) {
    capture.file = nullptr;
    if (capture.blockEvent) CloseHandle(capture.blockEvent);
    capture.blockEvent = nullptr;
    capture.notifier.Reset();
    capture.buffer.Reset();
    capture.device.Reset();
}
