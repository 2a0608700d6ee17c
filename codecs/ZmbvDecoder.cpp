#include "codecs/ZmbvDecoder.h"

#include <algorithm>
#include <cstring>
#include <utility>

bool ZmbvDecoder::Begin(int width, int height) {
    m_ready = false;
    if (width <= 0 || height <= 0 || width > ZmbvMaxSide || height > ZmbvMaxSide) return false;
    m_grid = {width, height, 1, 1};
    m_picture.clear();
    m_shownFormat = 0;
    return true;
}

bool ZmbvDecoder::Decode(const uint8_t* data, size_t size) {
    const bool ok = m_grid.width > 0 && size > 0 &&
                    ((data[0] & ZmbvKeyFrameFlag) ? DecodeKeyFrame(data, size)
                                                  : m_ready && DecodeDelta(data, size));
    m_ready = ok;
    if (ok) {
        std::swap(m_picture, m_next);
        m_palette = m_nextPalette;
        m_shownFormat = m_format;
    }
    return ok;
}

// A key frame's palette flag means nothing: palettized ones always hold one.
bool ZmbvDecoder::DecodeKeyFrame(const uint8_t* data, size_t size) {
    if (size < ZmbvKeyHeaderBytes || data[1] != ZmbvVersionMajor || data[2] != ZmbvVersionMinor) {
        return false;
    }
    const uint8_t compression = data[3], format = data[4];
    if ((compression != ZmbvCompressionNone && compression != ZmbvCompressionZlib) ||
        ZmbvPixelBits(format) == 0 || data[5] == 0 || data[6] == 0) {
        return false;
    }
    m_compression = compression;
    m_format = format;
    m_grid.blockWidth = data[5];
    m_grid.blockHeight = data[6];
    if (compression == ZmbvCompressionZlib && !m_inflater.Restart()) return false;
    const size_t palette = ZmbvPalettized(format) ? ZmbvPaletteBytes : 0;
    const size_t bytes = palette + ZmbvPackedRowBytes(format, m_grid.width) * m_grid.height;
    size_t produced = 0;
    if (!Unpack(data + ZmbvKeyHeaderBytes, size - ZmbvKeyHeaderBytes, bytes, produced) ||
        produced != bytes) {
        return false;
    }
    if (palette) std::memcpy(m_nextPalette.data(), m_work.data(), palette);
    UnpackPicture(m_work.data() + palette);
    return true;
}

// Packed stream rows to the picture's rows of whole bytes per pixel.
void ZmbvDecoder::UnpackPicture(const uint8_t* packed) {
    const int bits = ZmbvPixelBits(m_format), width = m_grid.width;
    const size_t rowBytes = static_cast<size_t>(width) * ZmbvPixelBytes(m_format);
    m_next.resize(rowBytes * m_grid.height);
    if (bits >= 8) {
        std::memcpy(m_next.data(), packed, m_next.size());
        return;
    }
    const size_t packedRow = ZmbvPackedRowBytes(m_format, width);
    for (int y = 0; y < m_grid.height; ++y) {
        uint8_t* out = m_next.data() + rowBytes * y;
        std::memset(out, 0, rowBytes);
        XorRow(packed + packedRow * y, width, out);
    }
}

bool ZmbvDecoder::DecodeDelta(const uint8_t* data, size_t size) {
    const bool paletteXor = (data[0] & ZmbvPaletteFlag) != 0;
    if (paletteXor && !ZmbvPalettized(m_format)) return false;
    const size_t head = (paletteXor ? ZmbvPaletteBytes : 0) + m_grid.InfoBytes();
    size_t produced = 0;
    if (!Unpack(data + 1, size - 1, head + MaxXorBytes(), produced) || produced < head) {
        return false;
    }
    m_nextPalette = m_palette;
    if (paletteXor) {
        for (size_t i = 0; i < ZmbvPaletteBytes; ++i) m_nextPalette[i] ^= m_work[i];
    }
    m_next.resize(m_picture.size());  // every block is written
    return ApplyBlocks(head - m_grid.InfoBytes(), produced);
}

// The most XOR data a delta frame can hold: every block's, whole.
size_t ZmbvDecoder::MaxXorBytes() const {
    size_t rowBytes = 0;
    for (int column = 0; column < m_grid.Columns(); ++column) {
        rowBytes += ZmbvPackedRowBytes(m_format, m_grid.Block(column, 0).width);
    }
    return rowBytes * static_cast<size_t>(m_grid.height);
}

// Puts the frame's data after the header into m_work: at most `limit` bytes.
bool ZmbvDecoder::Unpack(const uint8_t* data, size_t size, size_t limit, size_t& produced) {
    if (m_compression == ZmbvCompressionNone) {
        if (size > limit) return false;
        if (m_work.size() < size) m_work.resize(size);
        if (size > 0) std::memcpy(m_work.data(), data, size);
        produced = size;
        return true;
    }
    return m_inflater.Inflate(data, size, limit, m_work, produced);
}

// `info` is where the block entries start in m_work.
bool ZmbvDecoder::ApplyBlocks(size_t info, size_t produced) {
    size_t read = info + m_grid.InfoBytes();
    const uint8_t* entry = m_work.data() + info;
    for (int row = 0; row < m_grid.Rows(); ++row) {
        for (int column = 0; column < m_grid.Columns(); ++column, entry += 2) {
            if (!ApplyBlock(m_grid.Block(column, row), entry, read, produced)) return false;
        }
    }
    return read == produced;
}

// Copies the moved block of the last picture (zero where it reaches past the
// edge), then XORs in its data if the entry says some follows at m_work[read].
bool ZmbvDecoder::ApplyBlock(const ZmbvBlock& b, const uint8_t* entry, size_t& read,
                             size_t produced) {
    const ZmbvVector v = ZmbvGetVector(entry);
    const bool withXor = entry[0] & 1;
    const size_t xorRow = ZmbvPackedRowBytes(m_format, b.width);
    if (withXor && produced - read < xorRow * b.height) return false;
    const size_t pixel = ZmbvPixelBytes(m_format);
    const size_t stride = static_cast<size_t>(m_grid.width) * pixel, rowBytes = b.width * pixel;
    const bool inside = m_grid.Inside(b, v);
    for (int y = 0; y < b.height; ++y) {
        const size_t at = static_cast<size_t>(b.y + y) * stride + b.x * pixel;
        uint8_t* out = m_next.data() + at;
        if (inside) {
            const ptrdiff_t moved = static_cast<ptrdiff_t>(v.dy) * static_cast<ptrdiff_t>(stride) +
                                    v.dx * static_cast<ptrdiff_t>(pixel);
            std::memcpy(out, m_picture.data() + (static_cast<ptrdiff_t>(at) + moved), rowBytes);
        } else {
            CopyRow(b, v, y, out);
        }
        if (!withXor) continue;
        if (pixel > 1 || ZmbvPixelBits(m_format) == 8) {
            const uint8_t* data = m_work.data() + read;
            for (size_t i = 0; i < rowBytes; ++i) out[i] ^= data[i];
        } else {
            XorRow(m_work.data() + read, b.width, out);
        }
        read += xorRow;
    }
    return true;
}

// Row `y` of block `b` moved by `v`, where the pixels outside the picture are 0.
void ZmbvDecoder::CopyRow(const ZmbvBlock& b, ZmbvVector v, int y, uint8_t* out) const {
    const size_t pixel = ZmbvPixelBytes(m_format);
    std::memset(out, 0, b.width * pixel);
    const int sy = b.y + y + v.dy;
    const int from = std::max(b.x + v.dx, 0), to = std::min(b.x + v.dx + b.width, m_grid.width);
    if (sy < 0 || sy >= m_grid.height || from >= to) return;
    const uint8_t* in = m_picture.data() + (static_cast<size_t>(sy) * m_grid.width + from) * pixel;
    std::memcpy(out + (from - b.x - v.dx) * pixel, in, (to - from) * pixel);
}

// XORs `width` sub-byte indices, packed from the top bit down, into a row of
// one index a byte.
void ZmbvDecoder::XorRow(const uint8_t* data, int width, uint8_t* out) const {
    const int bits = ZmbvPixelBits(m_format), perByte = 8 / bits;
    const unsigned mask = (1u << bits) - 1;
    for (int x = 0; x < width; ++x) {
        const int shift = 8 - bits * (x % perByte + 1);
        out[x] ^= static_cast<uint8_t>((data[x / perByte] >> shift) & mask);
    }
}
