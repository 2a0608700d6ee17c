#include "options/AudioFormatCatalogue.h"

#include <cstring>

namespace {

static_assert(sizeof(GUID) == sizeof(DeviceGuid), "device ids are GUIDs");

BOOL CALLBACK OnCaptureDevice(LPGUID id, LPCSTR description, LPCSTR, LPVOID context) {
    DeviceGuid mirror{};
    if (id) std::memcpy(&mirror, id, sizeof mirror);
    static_cast<AudioDeviceList*>(context)->Add(id ? &mirror : nullptr,
                                                description ? description : "");
    return TRUE;
}

GUID ToGuid(const DeviceGuid& id) {
    GUID guid;
    std::memcpy(&guid, &id, sizeof guid);
    return guid;
}

bool CanCapture(IDirectSoundCapture* device, WAVEFORMATEX format) {
    DSCBUFFERDESC description{};
    description.dwSize = sizeof(DSCBUFFERDESC1);  // without the effect fields
    description.dwBufferBytes = format.nAvgBytesPerSec;
    description.lpwfxFormat = &format;
    IDirectSoundCaptureBuffer* buffer = nullptr;
    const bool created = SUCCEEDED(device->CreateCaptureBuffer(&description, &buffer, nullptr));
    if (buffer) buffer->Release();
    return created;
}

}  // namespace

void AudioFormatCatalogue::Build(RecordSettings& settings) {
    EnumerateCaptureDevices();
    const int chosen = m_devices.Chosen();
    if (chosen < 0) {
        settings.RecordAudio = 0;
        return;
    }
    if (OpenCaptureDevice(ToGuid(m_devices.Id(chosen))) != S_OK) {
        m_devices.ForgetChosen();
        return;
    }
    ProbeCaptureFormats(settings.AudioFormat);
}

void AudioFormatCatalogue::EnumerateCaptureDevices() {
    DirectSoundCaptureEnumerateA(OnCaptureDevice, &m_devices);
}

void AudioFormatCatalogue::ProbeCaptureFormats(int storedFormat) {
    IDirectSoundCapture* device = CaptureDevice();
    if (!device) return;
    for (int i = 0; i < CandidateCount; ++i)
        m_supported[i] = CanCapture(device, ToWaveFormat(CaptureFormatFor(i)));
    const int startup = StartupCandidate(m_supported, storedFormat);
    if (startup >= 0) SetCurrentCaptureFormat(CaptureFormatFor(startup));
}

void SelectCaptureFormat(int index, RecordSettings& settings, ProfileStore& profile) {
    settings.AudioFormat = index;
    SetCurrentCaptureFormat(CaptureFormatFor(index));
    SaveSettings(profile, settings);
}
