// Process-wide state through which the user-interface thread and the two
// recording threads coordinate one running recording. The protocol rests on
// the order of accesses; each variable is an atomic word so that every read
// sees a whole, current value.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "engine/PauseGate.h"
#include "engine/Signal.h"

class FilmWriter;
struct HICON__;   // the platform's cursor handle (HCURSOR)
class CFlashingWnd;

struct RecordingState {
    std::atomic<int32_t> RecordingActive{0};  // 1 while a recording runs
    std::atomic<uint32_t> PausedTime{0};      // ms spent paused in this recording
    // The recording's open file, from the video thread's set-up until the
    // audio thread has finished with it.
    std::atomic<FilmWriter*> RecordingFile{nullptr};
    std::atomic<int32_t> AudioThreadActive{0};  // the audio thread still writes sound
    // Set by the video thread once the file is open (RecordingFile) or
    // will not be; the audio thread waits for it.
    Signal FileSettled;
    // Set by the audio thread as its very last step; the video thread waits
    // for it before it closes the file.
    Signal AudioFinished;
    // timeGetTime when the film's first position was taken, so that sound
    // arriving later can be placed against it.
    std::atomic<uint32_t> FilmStart{0};
    // Set by the video thread when its grabbing has ended, with the film's
    // length: the audio thread makes the sound as long.
    Signal FilmEnded;
    std::atomic<uint32_t> FilmLengthMs{0};

    // Click marks: 2 button held, 1 released but its mark still due, 0 none.
    std::atomic<int32_t> LeftClickState{0};
    std::atomic<int32_t> RightClickState{0};
    std::atomic<HICON__*> HookCursor{nullptr};  // last cursor reported by the mouse hook
    std::atomic<HICON__*> LastDrawnCursor{nullptr};  // the cursor a frame showed last

    std::atomic<CFlashingWnd*> BorderWindow{nullptr};

    // Pause and resume of the recording threads, at their safe points.
    PauseGate Pause;

    // The text overlay's settings (text, font, colour, position) are read by
    // every grab and may be changed by the Text dialog while a recording
    // runs: both sides hold this lock, so a grab never draws a string that
    // is being replaced.
    std::mutex TextLock;

    // What every start of the recording threads sets first: the click
    // states cleared, the recording active, the threads' meeting points
    // fresh.
    void Begin();
};

static_assert(std::atomic<int32_t>::is_always_lock_free, "flags must be plain words");
static_assert(std::atomic<FilmWriter*>::is_always_lock_free, "handles must be plain words");

// The one instance of the process.
extern RecordingState TheRecordingState;
