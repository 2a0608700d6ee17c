// Records sound into its own stream of the running recording's AVI file:
// a looping 16-block capture ring, one event at the end of every block, and
// every whole block captured moved into the file.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <dsound.h>
#include <vfw.h>

#include "engine/AudioRing.h"
#include "framework/ComPtr.h"
#include "framework/WinThread.h"

class CRcdAudioThread : public CWinThread {
public:
    BOOL InitInstance() override;

    // Set before the thread runs: the opened capture device (null: no
    // sound) and the format to capture in (all zero: none chosen).
    IDirectSoundCapture* Device = nullptr;
    WAVEFORMATEX Format = {};

private:
    // One run's capture state, released by the clean-up.
    struct Capture {
        WAVEFORMATEX format = {};
        ComPtr<IDirectSoundCaptureBuffer> buffer;
        ComPtr<IDirectSoundNotify> notifier;
        HANDLE blockEvent = nullptr;
        AudioRingLayout ring = {};
        uint32_t nextReadOffset = 0;
        PAVISTREAM stream = nullptr;
    };

    static PAVIFILE WaitForFile();
    static void CreateStream(Capture& capture, PAVIFILE file);
    HRESULT StartCapture(Capture& capture) const;
    static void WaitForSound(Capture& capture);
    static void CaptureUntilStopped(Capture& capture);
    static void SitOutPause(Capture& capture);
    static HRESULT ProcessStep(Capture& capture, uint32_t unit);
    static HRESULT StopCapture(Capture& capture);
    static void CleanUp(Capture& capture);
};
