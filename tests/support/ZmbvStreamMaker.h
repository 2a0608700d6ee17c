// Hand-made ZMBV streams, for what our encoder never writes: every pixel
// format, any block size, stored or zlib data, vectors reaching past the
// picture's edge, palette changes in delta frames. Written from the format
// on its own (no code shared with the decoder): each delta frame is the XOR
// of the wanted picture against the previous one moved by the given
// vectors, pixels outside the picture counting as 0.
// Pictures are top-down, one byte per palette index, else the stream's
// little-endian pixels; palettes are 256 times R, G, B.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "codecs/ZmbvFormat.h"

class ZmbvStreamMaker {
public:
    using Vectors = std::function<ZmbvVector(int column, int row)>;

    ZmbvStreamMaker(int width, int height, uint8_t format, int blockWidth, int blockHeight,
                    uint8_t compression);
    ~ZmbvStreamMaker();
    ZmbvStreamMaker(const ZmbvStreamMaker&) = delete;
    ZmbvStreamMaker& operator=(const ZmbvStreamMaker&) = delete;

    std::vector<uint8_t> Key(const std::vector<uint8_t>& picture,
                             const std::vector<uint8_t>& palette = {});
    // A palettized stream's palette, when given and changed, goes as the
    // palette flag's XOR.
    std::vector<uint8_t> Delta(const std::vector<uint8_t>& picture, const Vectors& vectors,
                               const std::vector<uint8_t>& palette = {});

    size_t PictureBytes() const;

private:
    uint32_t Pixel(const std::vector<uint8_t>& picture, int x, int y) const;  // 0 outside
    void PutPacked(std::vector<uint8_t>& out, const std::vector<uint32_t>& row) const;
    std::vector<uint8_t> Finish(std::vector<uint8_t> head, const std::vector<uint8_t>& payload);

    int m_width, m_height, m_blockWidth, m_blockHeight, m_bits;
    uint8_t m_format, m_compression;
    std::vector<uint8_t> m_picture, m_palette;
    z_stream m_zlib{};
};
