#include "options/AudioCaptureDevice.h"

#include <mutex>

namespace {

IDirectSoundCapture* TheCaptureDevice = nullptr;
GUID TheCaptureDeviceId{};
bool ComInitialised = false;

// The audio thread reads the format while the dialog may set it.
std::mutex FormatLock;
WAVEFORMATEX TheCaptureFormat{};

}  // namespace

HRESULT OpenCaptureDevice(const GUID& deviceId) {
    const HRESULT initialised = CoInitialize(nullptr);
    if (FAILED(initialised)) return initialised;
    ComInitialised = true;
    TheCaptureDeviceId = deviceId;
    return DirectSoundCaptureCreate(&deviceId, &TheCaptureDevice, nullptr);
}

IDirectSoundCapture* CaptureDevice() { return TheCaptureDevice; }

std::optional<GUID> CaptureDeviceId() {
    if (!TheCaptureDevice) return std::nullopt;
    return TheCaptureDeviceId;
}

void ReleaseCaptureDevice() {
    if (TheCaptureDevice) TheCaptureDevice->Release();
    TheCaptureDevice = nullptr;
    if (ComInitialised) CoUninitialize();
    ComInitialised = false;
}

WAVEFORMATEX CurrentCaptureFormat() {
    std::lock_guard<std::mutex> hold(FormatLock);
    return TheCaptureFormat;
}

void SetCurrentCaptureFormat(const PcmFormat& format) {
    std::lock_guard<std::mutex> hold(FormatLock);
    TheCaptureFormat = ToWaveFormat(format);
}

WAVEFORMATEX ToWaveFormat(const PcmFormat& format) {
    WAVEFORMATEX wave{};
    wave.wFormatTag = format.wFormatTag;
    wave.nChannels = format.nChannels;
    wave.nSamplesPerSec = format.nSamplesPerSec;
    wave.nAvgBytesPerSec = format.nAvgBytesPerSec;
    wave.nBlockAlign = format.nBlockAlign;
    wave.wBitsPerSample = format.wBitsPerSample;
    wave.cbSize = format.cbSize;
    return wave;
}
