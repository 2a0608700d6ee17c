// Compresses the frames of one recording through the compressor manager:
// a key frame every KeyFrames frames, the quality asked for, and the
// previous frame for compressors that need it to code the next. Owns the
// opened compressor and ends and closes it on every path.
#pragma once

#include <windows.h>

#include <vfw.h>

#include <cstdint>
#include <vector>

#include "engine/FrameEncoder.h"

class FrameCompressor : public FrameEncoder {
public:
    // input: the header and colour table of the frames to come.
    FrameCompressor(DWORD handler, const BITMAPINFOHEADER& input, int quality, int keyFrames,
                    int playRate);
    ~FrameCompressor();
    FrameCompressor(const FrameCompressor&) = delete;
    FrameCompressor& operator=(const FrameCompressor&) = delete;

    bool Ready() const override { return m_begun; }
    // The header and colour table of the compressed frames.
    const std::vector<uint8_t>& OutputFormat() const { return m_outputFormat; }

    bool Compress(const BITMAPINFOHEADER& frame, Result& result) override;
    void SetQuality(int quality) override { m_quality = quality; }

private:
    bool Begin(const BITMAPINFOHEADER& input);

    HIC m_compressor = nullptr;
    bool m_begun = false;
    bool m_needsPrevious = false;
    int m_quality, m_keyFrames, m_playRate;
    std::vector<uint8_t> m_inputFormat, m_outputFormat, m_workFormat, m_output, m_previous;
    LONG m_frameNumber = 0;
};
