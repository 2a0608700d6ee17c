// ZMBV decoder for the 15-bit and 32-bit modes. It keeps the last picture
// for the delta frames that follow and refuses, without harm, data that is
// cut short or corrupt; after such a frame it waits for the next key frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/ZmbvFormat.h"
#include "codecs/ZmbvInflater.h"

class ZmbvDecoder {
public:
    // Sets the picture size, which the stream itself does not carry; false
    // for sides outside 1..ZmbvMaxSide.
    bool Begin(int width, int height);
    // Decodes one frame; false if it is refused, leaving Picture() as it was.
    bool Decode(const uint8_t* data, size_t size);

    // Of Picture(): 2 (15-bit words) or 4 (B, G, R, unused); 0 before the
    // first key frame.
    int PixelBytes() const { return m_shownPixelBytes; }
    // The picture, top-down, rows of width * PixelBytes() bytes.
    const std::vector<uint8_t>& Picture() const { return m_picture; }

private:
    bool DecodeKeyFrame(const uint8_t* data, size_t size);
    bool DecodeDelta(const uint8_t* data, size_t size);
    bool Unpack(const uint8_t* data, size_t size, size_t limit, size_t& produced);
    bool ApplyBlocks(size_t produced);
    bool ApplyBlock(const ZmbvBlock& b, const uint8_t* entry, size_t& read, size_t produced);

    ZmbvGrid m_grid;
    int m_pixelBytes = 0;       // of the stream since its last key frame
    int m_shownPixelBytes = 0;  // of Picture()
    uint8_t m_compression = ZmbvCompressionNone;
    bool m_ready = false;  // a key frame decoded, and nothing refused since
    std::vector<uint8_t> m_picture, m_next, m_work;
    ZmbvInflater m_inflater;
};
