// H.264 High profile, 4:2:0, BT.709, from the x264 library: pictures in, whole
// access units out (length-prefixed NAL units, as MP4 stores them).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "encode/ColourConversion.h"
#include "encode/H264Settings.h"

struct x264_t;

struct EncodedFrame {
    std::vector<uint8_t> data;
    int64_t pts = 0;  // in positions of the recording
    bool keyFrame = false;
};

class H264Encoder {
public:
    H264Encoder() = default;
    ~H264Encoder();
    H264Encoder(const H264Encoder&) = delete;
    H264Encoder& operator=(const H264Encoder&) = delete;

    // width, height: the picture shown (odd sides are cropped in the stream);
    // a position lasts scale / rate seconds.
    bool Open(int width, int height, uint32_t rate, uint32_t scale, const H264Settings& settings);
    const std::vector<uint8_t>& Sps() const { return m_sps; }
    const std::vector<uint8_t>& Pps() const { return m_pps; }

    // Frames come out in the order they went in (no B-frames), some later.
    bool Encode(const YuvPicture& picture, int64_t pts, std::vector<EncodedFrame>& out);
    // A new constant quality from the next frame on.
    bool SetQuality(int crf);
    // The frames still held back.
    bool Flush(std::vector<EncodedFrame>& out);

private:
    bool Take(int bytes, void* nals, int count, const void* picture, std::vector<EncodedFrame>& out);

    x264_t* m_encoder = nullptr;
    std::vector<uint8_t> m_sps, m_pps;
};
