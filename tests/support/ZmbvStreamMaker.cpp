#include "tests/support/ZmbvStreamMaker.h"

#include <algorithm>

ZmbvStreamMaker::ZmbvStreamMaker(int width, int height, uint8_t format, int blockWidth,
                                 int blockHeight, uint8_t compression)
    : m_width(width),
      m_height(height),
      m_blockWidth(blockWidth),
      m_blockHeight(blockHeight),
      m_bits(ZmbvPixelBits(format)),
      m_format(format),
      m_compression(compression),
      m_palette(ZmbvPaletteBytes, 0) {
    deflateInit(&m_zlib, 6);
}

ZmbvStreamMaker::~ZmbvStreamMaker() { deflateEnd(&m_zlib); }

size_t ZmbvStreamMaker::PictureBytes() const {
    return static_cast<size_t>(m_width) * m_height * std::max(1, m_bits / 8);
}

uint32_t ZmbvStreamMaker::Pixel(const std::vector<uint8_t>& picture, int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    const int bytes = std::max(1, m_bits / 8);
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= uint32_t{picture[(static_cast<size_t>(y) * m_width + x) * bytes + i]} << 8 * i;
    }
    return value;
}

// Sub-byte pixels from the top bit down, each row ending on a whole byte.
void ZmbvStreamMaker::PutPacked(std::vector<uint8_t>& out, const std::vector<uint32_t>& row) const {
    if (m_bits >= 8) {
        for (uint32_t v : row) {
            for (int i = 0; i < m_bits / 8; ++i) out.push_back(static_cast<uint8_t>(v >> 8 * i));
        }
        return;
    }
    const size_t start = out.size();
    out.resize(start + (row.size() * m_bits + 7) / 8, 0);
    for (size_t x = 0; x < row.size(); ++x) {
        const size_t bit = x * m_bits;
        out[start + bit / 8] |= static_cast<uint8_t>(row[x] << (8 - m_bits - bit % 8));
    }
}

std::vector<uint8_t> ZmbvStreamMaker::Finish(std::vector<uint8_t> head,
                                             const std::vector<uint8_t>& payload) {
    if (m_compression == ZmbvCompressionNone) {
        head.insert(head.end(), payload.begin(), payload.end());
        return head;
    }
    std::vector<uint8_t> out(payload.size() + payload.size() / 100 + 64);
    m_zlib.next_in = const_cast<Bytef*>(payload.data());
    m_zlib.avail_in = static_cast<uInt>(payload.size());
    m_zlib.next_out = out.data();
    m_zlib.avail_out = static_cast<uInt>(out.size());
    deflate(&m_zlib, Z_SYNC_FLUSH);
    head.insert(head.end(), out.begin(), out.end() - m_zlib.avail_out);
    return head;
}

std::vector<uint8_t> ZmbvStreamMaker::Key(const std::vector<uint8_t>& picture,
                                          const std::vector<uint8_t>& palette) {
    if (!palette.empty()) m_palette = palette;
    m_picture = picture;
    deflateReset(&m_zlib);
    std::vector<uint8_t> payload;
    if (ZmbvPalettized(m_format)) payload = m_palette;
    for (int y = 0; y < m_height; ++y) {
        std::vector<uint32_t> row;
        for (int x = 0; x < m_width; ++x) row.push_back(Pixel(picture, x, y));
        PutPacked(payload, row);
    }
    return Finish({ZmbvKeyFrameFlag, ZmbvVersionMajor, ZmbvVersionMinor, m_compression, m_format,
                   static_cast<uint8_t>(m_blockWidth), static_cast<uint8_t>(m_blockHeight)},
                  payload);
}

std::vector<uint8_t> ZmbvStreamMaker::Delta(const std::vector<uint8_t>& picture,
                                            const Vectors& vectors,
                                            const std::vector<uint8_t>& palette) {
    std::vector<uint8_t> payload;
    uint8_t flags = 0;
    if (ZmbvPalettized(m_format) && !palette.empty() && palette != m_palette) {
        flags = ZmbvPaletteFlag;
        for (size_t i = 0; i < palette.size(); ++i) payload.push_back(palette[i] ^ m_palette[i]);
        m_palette = palette;
    }
    const int columns = (m_width + m_blockWidth - 1) / m_blockWidth;
    const int rows = (m_height + m_blockHeight - 1) / m_blockHeight;
    const size_t info = payload.size();
    payload.resize(info + (columns * rows * 2 + 3) / 4 * 4, 0);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const ZmbvVector v = vectors(column, row);
            const int x0 = column * m_blockWidth, y0 = row * m_blockHeight;
            std::vector<uint8_t> xored;
            bool changed = false;
            for (int y = y0; y < std::min(y0 + m_blockHeight, m_height); ++y) {
                std::vector<uint32_t> line;
                for (int x = x0; x < std::min(x0 + m_blockWidth, m_width); ++x) {
                    line.push_back(Pixel(picture, x, y) ^ Pixel(m_picture, x + v.dx, y + v.dy));
                    changed = changed || line.back() != 0;
                }
                PutPacked(xored, line);
            }
            uint8_t* entry = payload.data() + info + 2 * (row * columns + column);
            entry[0] = static_cast<uint8_t>(v.dx * 2 + (changed ? 1 : 0));
            entry[1] = static_cast<uint8_t>(v.dy * 2);
            if (changed) payload.insert(payload.end(), xored.begin(), xored.end());
        }
    }
    m_picture = picture;
    return Finish({flags}, payload);
}
