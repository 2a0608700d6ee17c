// The process-wide capture device object and the format sound is captured
// in. Both are set on the main thread at start-up (the format also when the
// Audio Options dialog is confirmed) and read by the audio capture thread.
#pragma once

#include <windows.h>

#include <mmsystem.h>
// dsound.h takes the wave format types from mmsystem.h.
#include <dsound.h>

#include <optional>

#include "options/AudioFormats.h"

// CoInitialize on the calling thread, then DirectSoundCaptureCreate for the
// device; keeps the object for CaptureDevice(). Returns 0 on success, else
// the failing result.
HRESULT OpenCaptureDevice(const GUID& deviceId);

// The opened device, or null when none was opened.
IDirectSoundCapture* CaptureDevice();

// The opened device's id, for a recording to open its own object of it: a
// device object keeps its capture position from one capture buffer to the
// next (seen under Wine), which a new buffer of another size misreads.
std::optional<GUID> CaptureDeviceId();

// At exit, on the thread that opened the device: releases it and balances
// the CoInitialize of OpenCaptureDevice.
void ReleaseCaptureDevice();

// The format sound is captured in; all zero until one is set.
WAVEFORMATEX CurrentCaptureFormat();
void SetCurrentCaptureFormat(const PcmFormat& format);

WAVEFORMATEX ToWaveFormat(const PcmFormat& format);
