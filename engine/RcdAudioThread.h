// Records sound into the running recording's file: a looping 16-block
// capture ring, one event at the end of every block, and every whole block
// captured handed to the file's writer, the first placed on the film's
// clock where the device's capture position says it was taken.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <dsound.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engine/AudioRing.h"
#include "engine/RecordingJob.h"
#include "engine/SoundClock.h"
#include "framework/ComPtr.h"
#include "framework/WinThread.h"

class FilmWriter;

class CRcdAudioThread : public CWinThread {
public:
    BOOL InitInstance() override;

    // Set by the controller while the thread is suspended: the same job as
    // the video thread's, with the device and the format to capture in.
    std::shared_ptr<const RecordingJob> Job;

private:
    // One run's capture state, released by the clean-up.
    struct Capture {
        explicit Capture(const WAVEFORMATEX& wave)
            : format(wave), units{wave.nSamplesPerSec, wave.nBlockAlign}, clock(wave.nSamplesPerSec) {}
        WAVEFORMATEX format;
        PcmUnits units;
        ComPtr<IDirectSoundCapture> device;
        ComPtr<IDirectSoundCaptureBuffer> buffer;
        ComPtr<IDirectSoundNotify> notifier;
        HANDLE blockEvent = nullptr;
        AudioRingLayout ring = {};
        uint32_t nextReadOffset = 0;
        FilmWriter* file = nullptr;
        SoundClock clock;
        bool placed = false;     // the first sound was placed on the film's clock
        uint64_t skipBytes = 0;  // sound from before the film began, still to leave out
        uint64_t writtenBytes = 0;
        uint64_t limitBytes = UINT64_MAX;  // the film's length, once it has ended
        uint32_t startedMs = 0;  // when the device was last started
        int restarts = 0;        // of a device that delivered nothing
    };
    static constexpr uint32_t SilentStartMs = 3000;
    static constexpr int SilentStartRestarts = 3;

    // What a step takes from the ring: nothing (it only looks at the
    // device's position), whole blocks, or every whole sample frame.
    enum class Take { LookOnly, Blocks, Frames };

    HRESULT StartCapture(Capture& capture) const;
    void CaptureUntilStopped(Capture& capture) const;
    bool RestartIfSilent(Capture& capture) const;
    static void SitOutPause(Capture& capture);
    static HRESULT TakeUntil(Capture& capture, uint32_t momentMs);
    static bool AwaitDelivery(Capture& capture, uint32_t offset);
    static HRESULT ProcessStep(Capture& capture, Take take,
                               std::optional<uint32_t> untilMs = std::nullopt);
    static uint32_t BytesTakenBefore(const Capture& capture, uint32_t captured, uint32_t untilMs,
                                     uint32_t nowMs);
    static bool WriteSound(Capture& capture, const std::vector<unsigned char>& sound);
    static bool PlaceFirstSound(Capture& capture);
    static bool WriteSilence(Capture& capture, uint64_t frames);
    static uint64_t RoomBytes(const Capture& capture);
    static HRESULT StopCapture(Capture& capture);
    static HRESULT CaptureToFilmEnd(Capture& capture);
    static void CleanUp(Capture& capture);
};
