#include "options/AudioFormats.h"

#include <cstdio>

void MakeCandidateFormat(int index, PcmFormat& format) {
    static constexpr uint32_t Rates[] = {8000, 11025, 22050, 44100};
    const int shape = index % 4;
    format.nSamplesPerSec = Rates[index / 4];
    format.wBitsPerSample = shape % 2 == 0 ? 8 : 16;
    format.nChannels = shape < 2 ? 1 : 2;
    format.nBlockAlign = static_cast<uint16_t>(format.wBitsPerSample / 8 * format.nChannels);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
}

std::string FormatLabel(const PcmFormat& format) {
    char label[64];
    std::snprintf(label, sizeof label, "%u Hz, %u-bit %s", unsigned{format.nSamplesPerSec},
                  unsigned{format.wBitsPerSample}, format.nChannels == 1 ? "Mono" : "Stereo");
    return label;
}

PcmFormat CaptureFormatFor(int index) {
    PcmFormat format;
    format.wFormatTag = WaveFormatPcm;
    if (index >= 0 && index < CandidateCount) MakeCandidateFormat(index, format);
    return format;
}

int StartupCandidate(const SupportedFormats& supported, int storedFormat) {
    if (storedFormat >= 0 && storedFormat < CandidateCount && supported[storedFormat])
        return storedFormat;
    for (int i = 0; i < CandidateCount; ++i)
        if (supported[i]) return i;
    return -1;
}
