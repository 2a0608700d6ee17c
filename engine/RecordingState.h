// Process-wide state through which the user-interface thread and the two
// recording threads coordinate one running recording. The protocol rests on
// the order of accesses; each variable is an atomic word so that every read
// sees a whole, current value.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "engine/PauseGate.h"

struct IAVIFile;  // the platform's AVI file (PAVIFILE)
struct HICON__;   // the platform's cursor handle (HCURSOR)
class CFlashingWnd;

struct RecordingState {
    std::atomic<int32_t> RecordingActive{0};  // 1 while a recording runs
    std::atomic<uint32_t> PausedTime{0};      // ms spent paused in this recording
    std::atomic<IAVIFile*> RecordingAviFile{nullptr};
    std::atomic<int32_t> AudioThreadActive{0};  // the audio thread still holds its stream

    // Click marks: 2 button held, 1 released but its mark still due, 0 none.
    std::atomic<int32_t> LeftClickState{0};
    std::atomic<int32_t> RightClickState{0};
    std::atomic<HICON__*> HookCursor{nullptr};  // last cursor reported by the mouse hook

    std::atomic<CFlashingWnd*> BorderWindow{nullptr};

    // Pause and resume of the recording threads, at their safe points.
    PauseGate Pause;

    // The platform's AVI writer is not safe for calls on one file from two
    // threads, so every call on the recording's file is made under this lock.
    std::mutex AviFileLock;
    // Under AviFileLock: the writer refuses a stream added after the first
    // frame, so the audio thread adds its stream only while this is 0, and
    // the video thread waits a little, before its first frame, until the
    // audio thread has settled its stream (made it or given up).
    int32_t FirstFrameWritten = 0;
    std::atomic<int32_t> AudioStreamSettled{0};

    // The text overlay's settings (text, font, colour, position) are read by
    // every grab and may be changed by the Text dialog while a recording
    // runs: both sides hold this lock, so a grab never draws a string that
    // is being replaced.
    std::mutex TextLock;
};

static_assert(std::atomic<int32_t>::is_always_lock_free, "flags must be plain words");
static_assert(std::atomic<IAVIFile*>::is_always_lock_free, "handles must be plain words");

// The one instance of the process.
extern RecordingState TheRecordingState;
