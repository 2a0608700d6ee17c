// The recording's PCM sound made ready for the AAC encoder: 16-bit samples
// at a rate every browser plays, the channels kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct PcmLayout {
    uint32_t rate = 0;
    uint16_t channels = 0;
    uint16_t bits = 0;  // 8 (unsigned) or 16 (signed)
};

// Whether the converter takes this PCM format.
bool ConvertiblePcm(const PcmLayout& format);

// 44100 for the rates of its family (11025, 22050, 44100), else 48000.
uint32_t AacRateFor(uint32_t pcmRate);

// The AAC-LC AudioSpecificConfig of a stream: two bytes.
std::vector<uint8_t> AacLcConfig(uint32_t rate, uint16_t channels);

// Turns PCM of one format into 16-bit samples at another rate, piece by
// piece: what is fed in at any cut comes out as the same sound. Upsampling
// interpolates linearly between neighbouring samples.
class PcmResampler {
public:
    PcmResampler(const PcmLayout& in, uint32_t outRate);

    // Appends the samples (interleaved) that the bytes give to `out`; bytes
    // may end inside a sample frame: the rest waits for the next call.
    void Feed(const uint8_t* bytes, size_t size, std::vector<int16_t>& out);

private:
    int16_t Sample(const uint8_t* frame, int channel) const;
    void Emit(std::vector<int16_t>& out);

    PcmLayout m_in;
    uint32_t m_outRate;
    size_t m_frameBytes;
    std::vector<uint8_t> m_partial;      // bytes of an unfinished sample frame
    std::vector<int16_t> m_previous;     // the last input frame, per channel
    std::vector<int16_t> m_current;      // the newest input frame
    uint64_t m_inFrames = 0;             // input frames taken so far
    uint64_t m_outFrames = 0;            // output frames given so far
};
