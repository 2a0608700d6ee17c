// AAC-LC from the vo-aacenc library: 16-bit samples in, raw AAC frames of
// 1024 samples each out (no ADTS headers, as MP4 stores them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class AacEncoder {
public:
    static constexpr size_t FrameSamples = 1024;  // per channel
    // Silence the encoder's output starts with, per channel, before the
    // first sample given (measured: an impulse comes out this much later,
    // at 44100 and 48000 Hz alike): a film's sound track starts past it.
    static constexpr uint32_t DelaySamples = 1600;

    AacEncoder();
    ~AacEncoder();
    AacEncoder(const AacEncoder&) = delete;
    AacEncoder& operator=(const AacEncoder&) = delete;

    bool Open(uint32_t rate, uint16_t channels, uint32_t bitRate);
    // Interleaved samples; each whole frame's AAC data is appended to frames.
    bool Encode(const int16_t* samples, size_t count, std::vector<std::vector<uint8_t>>& frames);
    // The samples left, and all the encoder still holds, in whole frames.
    bool Flush(std::vector<std::vector<uint8_t>>& frames);

private:
    bool EncodeFrame(std::vector<std::vector<uint8_t>>& frames);

    struct Library;
    std::unique_ptr<Library> m_library;
    uint16_t m_channels = 0;
    std::vector<int16_t> m_pending;  // less than a frame
    bool m_given = false;            // samples came since the last flush
};
