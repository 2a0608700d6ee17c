// The capture device to record from and the candidate formats it supports,
// built once at start-up; the Audio Options dialog reads it and applies the
// user's choice with SelectCaptureFormat.
#pragma once

#include "options/AudioCaptureDevice.h"
#include "options/AudioDeviceList.h"
#include "options/AudioFormats.h"
#include "settings/RecordSettings.h"

class ProfileStore;

class AudioFormatCatalogue {
public:
    // Start-up, on the main thread: lists the devices; with none to record
    // from, turns RecordAudio off in memory only (the profile keeps it);
    // otherwise opens the chosen device, forgetting it when that fails, and
    // probes the formats.
    void Build(RecordSettings& settings);

    // Lists the devices through DirectSoundCaptureEnumerateA.
    void EnumerateCaptureDevices();

    // Asks the opened device for a one-second buffer in each candidate, and
    // sets the capture format to StartupCandidate(supported, storedFormat).
    // Without an opened device nothing is supported and the format stays.
    void ProbeCaptureFormats(int storedFormat);

    const AudioDeviceList& Devices() const { return m_devices; }
    const SupportedFormats& Supported() const { return m_supported; }

private:
    AudioDeviceList m_devices;
    SupportedFormats m_supported{};
};

// The Audio Options dialog's confirmation: stores the choice (-1: none),
// makes it the capture format and saves every setting.
void SelectCaptureFormat(int index, RecordSettings& settings, ProfileStore& profile);
