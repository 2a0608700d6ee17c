// ZMBV decoder for every format of the stream: 1, 2, 4 and 8-bit palette
// indices (the palette in key frames, its changes XORed in by delta frames),
// 15-bit, 16-bit (5-6-5), 24-bit and 32-bit pixels; any block size, stored
// or zlib data. It keeps the last picture for the delta frames that follow
// and refuses, without harm, data that is cut short or corrupt; after such a
// frame it waits for the next key frame. Memory follows what the input
// holds: the picture is made only once a key frame has filled it.
#pragma once

#include <array>
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

    // Of Picture() (ZmbvFormat*); 0 before the first key frame.
    uint8_t Format() const { return m_shownFormat; }
    // Bytes per pixel of Picture(): 1 (a palette index), 2, 3 or 4; 0 before
    // the first key frame.
    int PixelBytes() const { return ZmbvPixelBytes(m_shownFormat); }
    // The picture, top-down, rows of width * PixelBytes() bytes.
    const std::vector<uint8_t>& Picture() const { return m_picture; }
    // R, G, B of each of the 256 indices, for palettized formats.
    const uint8_t* Palette() const { return m_palette.data(); }

private:
    using Colours = std::array<uint8_t, ZmbvPaletteBytes>;

    bool DecodeKeyFrame(const uint8_t* data, size_t size);
    bool DecodeDelta(const uint8_t* data, size_t size);
    bool Unpack(const uint8_t* data, size_t size, size_t limit, size_t& produced);
    void UnpackPicture(const uint8_t* packed);
    size_t MaxXorBytes() const;
    bool ApplyBlocks(size_t read, size_t produced);
    bool ApplyBlock(const ZmbvBlock& b, const uint8_t* entry, size_t& read, size_t produced);
    void CopyRow(const ZmbvBlock& b, ZmbvVector v, int y, uint8_t* out) const;
    void XorRow(const uint8_t* data, int width, uint8_t* out) const;

    ZmbvGrid m_grid;
    uint8_t m_format = 0;       // of the stream since its last key frame
    uint8_t m_shownFormat = 0;  // of Picture()
    uint8_t m_compression = ZmbvCompressionNone;
    bool m_ready = false;  // a key frame decoded, and nothing refused since
    std::vector<uint8_t> m_picture, m_next, m_work;
    Colours m_palette{}, m_nextPalette{};
    ZmbvInflater m_inflater;
};
