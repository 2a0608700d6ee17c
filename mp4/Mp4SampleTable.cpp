#include "mp4/Mp4SampleTable.h"

#include <algorithm>

void Mp4SampleTable::Extend(std::vector<Run>& runs, uint32_t value) {
    if (!runs.empty() && runs.back().value == value)
        ++runs.back().count;
    else
        runs.push_back({1, value});
}

void Mp4SampleTable::AddChunk(uint64_t offset, const std::vector<Mp4Sample>& samples) {
    if (samples.empty()) return;
    m_chunks.push_back({offset, uint32_t(samples.size())});
    for (const Mp4Sample& s : samples) {
        const int64_t presentation = int64_t(m_duration) + s.compositionOffset;
        if (!m_samplesSeen || presentation < m_firstPresentation)
            m_firstPresentation = presentation;
        m_samplesSeen = true;
        m_sizes.push_back(s.size);
        if (s.keyFrame) m_keyFrames.push_back(uint32_t(m_sizes.size()));
        Extend(m_durations, s.duration);
        Extend(m_offsets, uint32_t(s.compositionOffset));
        m_anyOffset = m_anyOffset || s.compositionOffset != 0;
        m_negativeOffset = m_negativeOffset || s.compositionOffset < 0;
        m_duration += s.duration;
        m_bytes += s.size;
        m_largest = std::max(m_largest, s.size);
    }
}

uint64_t Mp4SampleTable::PeakBytesPerSecond(uint32_t timescale) const {
    std::vector<uint64_t> starts;  // each sample's decoding time
    uint64_t t = 0;
    for (const Run& r : m_durations)
        for (uint32_t i = 0; i < r.count; ++i, t += r.value) starts.push_back(t);
    uint64_t peak = 0, inWindow = 0;
    size_t first = 0;
    for (size_t i = 0; i < starts.size(); ++i) {
        inWindow += m_sizes[i];
        while (starts[i] - starts[first] >= timescale) inWindow -= m_sizes[first++];
        peak = std::max(peak, inWindow);
    }
    return peak;
}

void Mp4SampleTable::AppendRuns(Mp4Bytes& out, uint32_t type, uint8_t version,
                                const std::vector<Run>& runs) {
    const size_t box = out.OpenFull(type, version, 0);
    out.U32(uint32_t(runs.size()));
    for (const Run& r : runs) {
        out.U32(r.count);
        out.U32(r.value);
    }
    out.Close(box);
}

void Mp4SampleTable::AppendBoxes(Mp4Bytes& out, uint64_t dataStart, bool co64) const {
    AppendRuns(out, BoxType("stts"), 0, m_durations);
    // Negative offsets need the signed form.
    if (m_anyOffset) AppendRuns(out, BoxType("ctts"), m_negativeOffset ? 1 : 0, m_offsets);
    if (m_keyFrames.size() < m_sizes.size()) {
        const size_t stss = out.OpenFull(BoxType("stss"), 0, 0);
        out.U32(uint32_t(m_keyFrames.size()));
        for (uint32_t n : m_keyFrames) out.U32(n);
        out.Close(stss);
    }
    const size_t stsz = out.OpenFull(BoxType("stsz"), 0, 0);
    out.U32(0);  // sizes differ: one entry each
    out.U32(uint32_t(m_sizes.size()));
    for (uint32_t size : m_sizes) out.U32(size);
    out.Close(stsz);
    AppendChunkBoxes(out, dataStart, co64);
}

void Mp4SampleTable::AppendChunkBoxes(Mp4Bytes& out, uint64_t dataStart, bool co64) const {
    std::vector<uint32_t> firstChunks;  // of each run of chunks with one sample count
    for (size_t i = 0; i < m_chunks.size(); ++i)
        if (i == 0 || m_chunks[i].samples != m_chunks[i - 1].samples)
            firstChunks.push_back(uint32_t(i));
    const size_t stsc = out.OpenFull(BoxType("stsc"), 0, 0);
    out.U32(uint32_t(firstChunks.size()));
    for (uint32_t i : firstChunks) {
        out.U32(i + 1);
        out.U32(m_chunks[i].samples);
        out.U32(1);  // the one sample description
    }
    out.Close(stsc);
    const size_t offsets = out.OpenFull(co64 ? BoxType("co64") : BoxType("stco"), 0, 0);
    out.U32(uint32_t(m_chunks.size()));
    for (const Chunk& c : m_chunks) {
        if (co64)
            out.U64(dataStart + c.offset);
        else
            out.U32(uint32_t(dataStart + c.offset));
    }
    out.Close(offsets);
}
