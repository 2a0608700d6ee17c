// The video of a recording made straight to MP4: each grabbed frame (32,
// 24 or 16-bit, bottom-up) made 4:2:0 and coded by x264 at once, no frame
// held back, as length-prefixed access units.
#pragma once

#include <cstdint>
#include <vector>

#include "encode/H264Encoder.h"
#include "engine/FrameEncoder.h"

class H264FrameEncoder : public FrameEncoder {
public:
    H264FrameEncoder(const BITMAPINFOHEADER& input, int quality, int keyFrames, int playRate);

    bool Ready() const override { return m_ready; }
    bool Compress(const BITMAPINFOHEADER& frame, Result& result) override;
    void SetQuality(int quality) override;

    // For the file's track, once Ready.
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const std::vector<uint8_t>& Sps() const { return m_encoder.Sps(); }
    const std::vector<uint8_t>& Pps() const { return m_encoder.Pps(); }

private:
    void ToPicture(const BITMAPINFOHEADER& frame);

    H264Encoder m_encoder;
    int m_width, m_height, m_bitCount;
    int m_quality;
    bool m_ready = false;
    int64_t m_frameNumber = 0;
    std::vector<uint8_t> m_bgra;  // rows of a 24 or 16-bit frame, made 32-bit
    YuvPicture m_picture;
    std::vector<EncodedFrame> m_coded;
};
