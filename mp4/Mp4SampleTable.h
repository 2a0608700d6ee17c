// What one track holds, kept in memory while the media data goes to the
// file: each sample's size, its duration and composition offset (as runs),
// the key frames, and the chunks the samples were stored in. From it come
// the sample table boxes of 'stbl'.
#pragma once

#include <cstdint>
#include <vector>

#include "mp4/Mp4Bytes.h"

struct Mp4Sample {
    uint32_t size = 0;
    uint32_t duration = 0;  // in the track's timescale
    int32_t compositionOffset = 0;
    bool keyFrame = true;
};

class Mp4SampleTable {
public:
    // Samples stored one after another from offset, counted from the start
    // of the media data.
    void AddChunk(uint64_t offset, const std::vector<Mp4Sample>& samples);

    uint32_t Samples() const { return uint32_t(m_sizes.size()); }
    uint64_t Duration() const { return m_duration; }
    uint64_t Bytes() const { return m_bytes; }
    uint32_t LargestSample() const { return m_largest; }
    // The earliest composition time; above zero when the first samples
    // are shown after they are decoded (B-frames).
    int64_t FirstPresentation() const { return m_samplesSeen ? m_firstPresentation : 0; }
    uint64_t LastChunkOffset() const { return m_chunks.empty() ? 0 : m_chunks.back().offset; }
    // The most bytes that any second of the track holds.
    uint64_t PeakBytesPerSecond(uint32_t timescale) const;

    // stts, ctts (when any offset is not zero), stss (when not every sample
    // is a key frame), stsz, stsc, and stco or co64, with chunk offsets
    // counted from dataStart.
    void AppendBoxes(Mp4Bytes& out, uint64_t dataStart, bool co64) const;

private:
    struct Run {
        uint32_t count;
        uint32_t value;
    };
    struct Chunk {
        uint64_t offset;
        uint32_t samples;
    };
    static void Extend(std::vector<Run>& runs, uint32_t value);
    static void AppendRuns(Mp4Bytes& out, uint32_t type, uint8_t version,
                           const std::vector<Run>& runs);
    void AppendChunkBoxes(Mp4Bytes& out, uint64_t dataStart, bool co64) const;

    std::vector<uint32_t> m_sizes;
    std::vector<Run> m_durations, m_offsets;
    std::vector<uint32_t> m_keyFrames;  // sample numbers, from 1
    std::vector<Chunk> m_chunks;
    uint64_t m_duration = 0, m_bytes = 0;
    uint32_t m_largest = 0;
    bool m_anyOffset = false, m_negativeOffset = false;
    bool m_samplesSeen = false;
    int64_t m_firstPresentation = 0;
};
