// Compresses the frames of one recording through the compressor manager:
// a key frame every KeyFrames frames, the quality asked for, and the
// previous frame for compressors that need it to code the next. Owns the
// opened compressor and ends and closes it on every path.
#pragma once

#include <windows.h>

#include <vfw.h>

#include <cstdint>
#include <vector>

class FrameCompressor {
public:
    // input: the header and colour table of the frames to come.
    FrameCompressor(DWORD handler, const BITMAPINFOHEADER& input, int quality, int keyFrames,
                    int playRate);
    ~FrameCompressor();
    FrameCompressor(const FrameCompressor&) = delete;
    FrameCompressor& operator=(const FrameCompressor&) = delete;

    // The compressor opened and took the input format.
    bool Ready() const { return m_begun; }
    // The header and colour table of the compressed frames.
    const std::vector<uint8_t>& OutputFormat() const { return m_outputFormat; }

    struct Result {
        const void* data;
        uint32_t size;
        bool keyFrame;
    };
    // Compresses one frame (a packed DIB of the input format); false when
    // the compressor failed.
    bool Compress(const BITMAPINFOHEADER& frame, Result& result);
    // The quality asked for from the next frame on.
    void SetQuality(int quality) { m_quality = quality; }

private:
    bool Begin(const BITMAPINFOHEADER& input);

    HIC m_compressor = nullptr;
    bool m_begun = false;
    bool m_needsPrevious = false;
    int m_quality, m_keyFrames, m_playRate;
    std::vector<uint8_t> m_inputFormat, m_outputFormat, m_workFormat, m_output, m_previous;
    LONG m_frameNumber = 0;
};
