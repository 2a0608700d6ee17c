#include "codecs/ZmbvDecoder.h"

#include <cstring>
#include <utility>

bool ZmbvDecoder::Begin(int width, int height) {
    m_ready = false;
    if (width <= 0 || height <= 0 || width > ZmbvMaxSide || height > ZmbvMaxSide) return false;
    m_grid = {width, height, 1, 1};
    m_picture.clear();
    m_shownPixelBytes = 0;
    return true;
}

bool ZmbvDecoder::Decode(const uint8_t* data, size_t size) {
    const bool ok = m_grid.width > 0 && size > 0 &&
                    ((data[0] & ZmbvKeyFrameFlag) ? DecodeKeyFrame(data, size)
                                                  : m_ready && DecodeDelta(data, size));
    m_ready = ok;
    if (ok) {
        std::swap(m_picture, m_next);
        m_shownPixelBytes = m_pixelBytes;
    }
    return ok;
}

bool ZmbvDecoder::DecodeKeyFrame(const uint8_t* data, size_t size) {
    if (size < ZmbvKeyHeaderBytes || (data[0] & ZmbvPaletteFlag) || data[1] != ZmbvVersionMajor ||
        data[2] != ZmbvVersionMinor) {
        return false;
    }
    const uint8_t compression = data[3];
    const int pixelBytes = ZmbvPixelBytes(data[4]);
    if ((compression != ZmbvCompressionNone && compression != ZmbvCompressionZlib) ||
        pixelBytes == 0 || data[5] == 0 || data[6] == 0) {
        return false;
    }
    m_compression = compression;
    m_pixelBytes = pixelBytes;
    m_grid.blockWidth = data[5];
    m_grid.blockHeight = data[6];
    if (compression == ZmbvCompressionZlib && !m_inflater.Restart()) return false;
    const size_t bytes = static_cast<size_t>(m_grid.width) * m_grid.height * pixelBytes;
    size_t produced = 0;
    if (!Unpack(data + ZmbvKeyHeaderBytes, size - ZmbvKeyHeaderBytes, bytes, produced) ||
        produced != bytes) {
        return false;
    }
    m_work.resize(bytes);
    std::swap(m_next, m_work);
    return true;
}

bool ZmbvDecoder::DecodeDelta(const uint8_t* data, size_t size) {
    if (data[0] & ZmbvPaletteFlag) return false;
    const size_t limit = m_grid.InfoBytes() + m_picture.size();
    size_t produced = 0;
    if (!Unpack(data + 1, size - 1, limit, produced) || produced < m_grid.InfoBytes()) {
        return false;
    }
    m_next.resize(m_picture.size());  // every block is written
    return ApplyBlocks(produced);
}

// Puts the frame's data after the header into m_work: at most `limit` bytes.
bool ZmbvDecoder::Unpack(const uint8_t* data, size_t size, size_t limit, size_t& produced) {
    if (m_compression == ZmbvCompressionNone) {
        if (size > limit) return false;
        m_work.assign(data, data + size);
        produced = size;
        return true;
    }
    m_work.resize(limit + 1);  // room to see that there is too much
    return m_inflater.Inflate(data, size, m_work.data(), m_work.size(), produced) &&
           produced <= limit;
}

bool ZmbvDecoder::ApplyBlocks(size_t produced) {
    size_t read = m_grid.InfoBytes();
    for (int row = 0; row < m_grid.Rows(); ++row) {
        for (int column = 0; column < m_grid.Columns(); ++column) {
            const size_t index = static_cast<size_t>(row) * m_grid.Columns() + column;
            if (!ApplyBlock(m_grid.Block(column, row), m_work.data() + 2 * index, read, produced)) {
                return false;
            }
        }
    }
    return read == produced;
}

// Copies the moved block of the last picture, then XORs in its data if the
// entry says some follows at m_work[read].
bool ZmbvDecoder::ApplyBlock(const ZmbvBlock& b, const uint8_t* entry, size_t& read,
                             size_t produced) {
    const ZmbvVector v = ZmbvGetVector(entry);
    if (!m_grid.Inside(b, v)) return false;
    const size_t stride = static_cast<size_t>(m_grid.width) * m_pixelBytes;
    const size_t rowBytes = static_cast<size_t>(b.width) * m_pixelBytes;
    const bool withXor = entry[0] & 1;
    if (withXor && produced - read < rowBytes * b.height) return false;
    for (int y = 0; y < b.height; ++y) {
        uint8_t* out = m_next.data() + static_cast<size_t>(b.y + y) * stride +
                       static_cast<size_t>(b.x) * m_pixelBytes;
        const uint8_t* in = m_picture.data() + static_cast<size_t>(b.y + v.dy + y) * stride +
                            static_cast<size_t>(b.x + v.dx) * m_pixelBytes;
        std::memcpy(out, in, rowBytes);
        if (!withXor) continue;
        for (size_t i = 0; i < rowBytes; ++i) out[i] ^= m_work[read + i];
        read += rowBytes;
    }
    return true;
}
