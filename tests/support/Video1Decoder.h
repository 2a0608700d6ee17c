// Decoder of the Video 1 16-bit bitstream, written from the format, for
// checking what the encoder writes. Pictures are RGB555, bottom row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Video1Decoded {
    bool ok;         // the stream covered every block exactly, nothing left over
    bool usedSkips;  // at least one block kept the previous picture
    int fillBlocks, twoColourBlocks, eightColourBlocks;
};

class Video1Decoder {
public:
    Video1Decoder(int width, int height);
    // Decodes one frame onto the current picture.
    Video1Decoded Decode(const uint8_t* data, size_t size);
    const std::vector<uint16_t>& Picture() const { return m_picture; }

private:
    void PaintBlock(int block, const uint16_t* colours, unsigned flags, bool eight);

    int m_width, m_height;
    std::vector<uint16_t> m_picture;
};

// 8-bit BGRX pixels (bottom-up, no padding) of an RGB555 picture, as decoders show them.
std::vector<uint8_t> ExpandToBgrx(const std::vector<uint16_t>& picture);

// Peak signal-to-noise ratio in dB of a picture against a source frame of 16,
// 24 or 32 bits with DIB row padding; 99 when they are equal.
double PictureSnr(const std::vector<uint16_t>& picture, const uint8_t* dib, int width, int height,
                  int bitCount);
