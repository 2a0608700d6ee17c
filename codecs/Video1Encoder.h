// Video 1 encoder: frames of 16-bit (5-5-5), 24-bit or 32-bit bottom-up DIB
// rows into the format's 16-bit (RGB555) bitstream of 4x4 blocks. It keeps its
// own last picture, so it skips unchanged blocks without the caller's help.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Video1FrameResult {
    size_t size;    // bytes written
    bool keyFrame;  // no block refers to the previous frame
};

class Video1Encoder {
public:
    static constexpr int DefaultQuality = 7500;  // of 0..10000

    // Whether frames of this size and depth can be encoded: 16, 24 or 32
    // bits, width and height positive multiples of 4.
    static bool Supports(int width, int height, int bitCount);
    // The most bytes a frame of this size can take.
    static size_t MaxFrameBytes(int width, int height);
    // Bytes from one DIB row to the next (rows padded to 4 bytes).
    static size_t RowStride(int width, int bitCount);

    // Starts a sequence; returns false if the format is not supported. Every
    // `keyFrameEvery`-th frame after a key frame is a key frame (0: only the
    // first and the forced ones).
    bool Begin(int width, int height, int bitCount, int keyFrameEvery);
    // Encodes one frame (RowStride * height bytes) into `out`, which must hold
    // MaxFrameBytes. The first frame after Begin is always a key frame.
    Video1FrameResult Encode(const uint8_t* dib, int quality, bool forceKeyFrame, uint8_t* out);

private:
    bool BlockUnchanged(const uint8_t* source, size_t offset) const;
    uint8_t* EncodeBlockRow(const uint8_t* dib, int blockRow, uint32_t lambda, bool key,
                            uint8_t* out);

    int m_width = 0, m_height = 0, m_bitCount = 0, m_keyFrameEvery = 0;
    size_t m_stride = 0;
    int m_sinceKeyFrame = -1;  // -1 before the first frame
    unsigned m_pendingSkips = 0;
    std::vector<uint16_t> m_picture;  // what a decoder shows now, RGB555, bottom-up
    std::vector<uint8_t> m_previous;  // the last source frame
};
