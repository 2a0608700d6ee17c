// The two streams of a recording as the program hands them to the AVI
// writer: bottom-up 24-bit frames, and 16-bit stereo PCM at 44100 Hz that
// the sound thread delivers in blocks of 1/8 s.
#pragma once

#include <cstdint>
#include <vector>

#include "avi/AviHeader.h"

// Uncompressed (BI_RGB) 24-bit frames of this size, rate frames a second.
AviVideoStream DibVideoStream(int width, int height, uint32_t rate);
// Bytes of one such frame, rows padded to four bytes.
uint32_t DibFrameBytes(int width, int height);

AviAudioStream PcmAudioStream();

// Sound blocks of 1/8 s. Each sample frame carries the low 16 bits of its
// own number in the left channel and their complement in the right, so a
// decoded stretch tells where it lies and whether a block is missing.
class SoundBlocks {
public:
    static constexpr uint32_t SamplesPerSec = 44100, BlocksPerSec = 8, FrameBytes = 4;

    // Whether the next block has ended by the time video position plays,
    // rate positions a second: the program has it in hand by then.
    bool DueBy(uint32_t position, uint32_t rate) const;
    // The next block, whole sample frames.
    const std::vector<uint8_t>& Next();

    uint64_t Samples() const { return m_samples; }
    uint32_t Blocks() const { return m_blocks; }

private:
    uint64_t m_samples = 0;
    uint32_t m_blocks = 0;
    std::vector<uint8_t> m_bytes;
};
