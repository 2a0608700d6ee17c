// The PCM formats a capture device is asked for, their labels, and which of
// them sound is captured in.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// The fields of the platform's WAVEFORMATEX, kept free of <windows.h> so the
// format rules build natively; the capture side converts.
struct PcmFormat {
    uint16_t wFormatTag = 0;
    uint16_t nChannels = 0;
    uint32_t nSamplesPerSec = 0;
    uint32_t nAvgBytesPerSec = 0;
    uint16_t nBlockAlign = 0;
    uint16_t wBitsPerSample = 0;
    uint16_t cbSize = 0;
};

constexpr int CandidateCount = 16;
constexpr uint16_t WaveFormatPcm = 1;

// Per candidate: whether the opened device can capture in it.
using SupportedFormats = std::array<bool, CandidateCount>;

// Candidate 0..15: rate by index / 4 (8000, 11025, 22050, 44100 Hz), bits and
// channels by index % 4 (8 mono, 16 mono, 8 stereo, 16 stereo). Sets only the
// rate, channel, bit, alignment and byte-rate fields.
void MakeCandidateFormat(int index, PcmFormat& format);

// "22050 Hz, 16-bit Stereo".
std::string FormatLabel(const PcmFormat& format);

// The capture format for a chosen candidate: PCM with cbSize 0 and the
// candidate's fields; for no candidate (index < 0) only the PCM tag.
PcmFormat CaptureFormatFor(int index);

// The candidate to capture in after start-up: the stored choice when the
// device supports it, so that the Audio Options dialog and the recordings
// agree; otherwise the lowest supported one; -1 when none is supported.
int StartupCandidate(const SupportedFormats& supported, int storedFormat);
