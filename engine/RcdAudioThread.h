// Records sound into the running recording's file: a looping 16-block
// capture ring, one event at the end of every block, and every whole block
// captured handed to the file's writer.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <dsound.h>

#include <memory>
#include <vector>

#include "engine/AudioRing.h"
#include "engine/RecordingJob.h"
#include "framework/ComPtr.h"
#include "framework/WinThread.h"

class AviWriter;

class CRcdAudioThread : public CWinThread {
public:
    BOOL InitInstance() override;

    // Set by the controller while the thread is suspended: the same job as
    // the video thread's, with the device and the format to capture in.
    std::shared_ptr<const RecordingJob> Job;

private:
    // One run's capture state, released by the clean-up.
    struct Capture {
        WAVEFORMATEX format = {};
        ComPtr<IDirectSoundCaptureBuffer> buffer;
        ComPtr<IDirectSoundNotify> notifier;
        HANDLE blockEvent = nullptr;
        AudioRingLayout ring = {};
        uint32_t nextReadOffset = 0;
        AviWriter* file = nullptr;
        bool soundArrived = false;  // the first sound was written, after its lead-in
    };

    HRESULT StartCapture(Capture& capture) const;
    static void CaptureUntilStopped(Capture& capture);
    static void SitOutPause(Capture& capture);
    static HRESULT ProcessStep(Capture& capture, uint32_t unit, uint32_t leaveMs = 0);
    static bool WriteSound(Capture& capture, const std::vector<unsigned char>& sound,
                           uint32_t captured);
    static HRESULT StopCapture(Capture& capture);
    static void CleanUp(Capture& capture);
};
