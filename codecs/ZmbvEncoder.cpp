#include "codecs/ZmbvEncoder.h"

#include <algorithm>
#include <utility>

#include "codecs/ZmbvMotion.h"
#include "codecs/ZmbvPixels.h"

namespace {

// About a millisecond of searching a frame; measured on recorded screens,
// more finds next to nothing.
constexpr int SearchesPerFrame = 32;

}  // namespace

bool ZmbvEncoder::Supports(int width, int height, int bitCount) {
    return ZmbvFormatFor(bitCount) != 0 && width > 0 && height > 0 && width <= ZmbvMaxSide &&
           height <= ZmbvMaxSide;
}

size_t ZmbvEncoder::MaxFrameBytes(int width, int height, int bitCount) {
    if (!Supports(width, height, bitCount)) return 0;
    const ZmbvGrid grid{width, height, ZmbvBlockSide, ZmbvBlockSide};
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    const size_t raw = grid.InfoBytes() + pixels * (bitCount == 16 ? 2 : 4);
    // zlib's own bound for data it cannot shrink, plus the flush marker.
    return ZmbvKeyHeaderBytes + raw + (raw >> 12) + (raw >> 14) + (raw >> 25) + 13 + 16;
}

bool ZmbvEncoder::Begin(int width, int height, int bitCount, int level) {
    m_begun = false;
    if (!Supports(width, height, bitCount) || level < 0 || level > 9) return false;
    m_compression = level > 0 ? ZmbvCompressionZlib : ZmbvCompressionNone;
    if (level > 0 && !m_deflater.Start(level)) return false;
    m_level = level;
    m_grid = {width, height, ZmbvBlockSide, ZmbvBlockSide};
    m_bitCount = bitCount;
    m_format = ZmbvFormatFor(bitCount);
    m_pixelBytes = ZmbvPixelBytes(m_format);
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * m_pixelBytes;
    m_current.assign(bytes, 0);
    m_previous.assign(bytes, 0);
    m_vectors.assign(m_grid.Blocks(), ZmbvVector{});
    m_work.reserve(m_grid.InfoBytes() + bytes);
    m_havePrevious = false;
    m_strongKeys = false;
    m_begun = true;
    return true;
}

bool ZmbvEncoder::Encode(const uint8_t* topRow, ptrdiff_t stride, bool keyFrame,
                         std::vector<uint8_t>& out) {
    if (!m_begun) return false;
    ZmbvLoadPicture(topRow, stride, m_grid.width, m_grid.height, m_bitCount, m_current.data());
    ZmbvHashStrips({m_current.data(), m_grid.width, m_grid.height, m_pixelBytes},
                   m_grid.blockWidth, m_currentRows);
    keyFrame = keyFrame || !m_havePrevious;
    out.clear();
    const std::vector<uint8_t>* payload = &m_current;
    if (keyFrame) {
        out = {ZmbvKeyFrameFlag,
               ZmbvVersionMajor,
               ZmbvVersionMinor,
               m_compression,
               m_format,
               static_cast<uint8_t>(m_grid.blockWidth),
               static_cast<uint8_t>(m_grid.blockHeight)};
        m_deflater.Restart();
        m_vectors.assign(m_vectors.size(), ZmbvVector{});
    } else {
        out.push_back(0);
        BuildDelta();
        payload = &m_work;
    }
    if (m_compression == ZmbvCompressionZlib) {
        const bool strong = keyFrame && m_strongKeys && m_level >= DefaultLevel;
        const int level = !keyFrame ? std::min(m_level, DeltaLevelCap) : strong ? KeyLevel : m_level;
        if (!m_deflater.UseLevel(level) ||
            !m_deflater.Compress(payload->data(), payload->size(), out)) {
            m_havePrevious = false;  // the stream is spoilt: start the next one afresh
            return false;
        }
        if (keyFrame) m_strongKeys = out.size() * KeyShrinkForStrong < payload->size();
    } else {
        out.insert(out.end(), payload->begin(), payload->end());
    }
    std::swap(m_current, m_previous);
    std::swap(m_currentRows, m_previousRows);
    m_havePrevious = true;
    return true;
}

// Each block's scroll guess, strip by strip, so that one index of the
// previous strip serves all its blocks. Blocks cut by the bottom edge get
// none: their neighbours' vectors serve them.
void ZmbvEncoder::GuessScrolls() {
    m_scrolls.assign(m_grid.Blocks(), 0);
    const int columns = m_grid.Columns(), fullRows = m_grid.height / m_grid.blockHeight;
    for (int column = 0; column < columns; ++column) {
        const size_t strip = static_cast<size_t>(column) * static_cast<size_t>(m_grid.height);
        const uint64_t* before = m_previousRows.data() + strip;
        const uint64_t* now = m_currentRows.data() + strip;
        bool indexed = false;
        for (int row = 0; row < fullRows; ++row) {
            const ZmbvBlock b = m_grid.Block(column, row);
            if (std::equal(now + b.y, now + b.y + b.height, before + b.y)) continue;
            if (!indexed) {
                ZmbvHashRuns(before, m_grid.height, m_grid.blockHeight, m_runs);
                m_runIndex.Build(m_runs);
                indexed = true;
            }
            m_scrolls[static_cast<size_t>(row) * columns + column] =
                ZmbvGuessScroll(m_runIndex, now, b, ZmbvMaxScroll);
        }
    }
}

// Block entries first, then the XOR data of the blocks that need it, in
// block order.
void ZmbvEncoder::BuildDelta() {
    const ZmbvPlane current{m_current.data(), m_grid.width, m_grid.height, m_pixelBytes};
    const ZmbvPlane previous{m_previous.data(), m_grid.width, m_grid.height, m_pixelBytes};
    GuessScrolls();
    m_work.assign(m_grid.InfoBytes(), 0);
    const int columns = m_grid.Columns();
    ZmbvVector found{0, 0};  // what this frame's searches found
    int searches = SearchesPerFrame;
    for (int row = 0; row < m_grid.Rows(); ++row) {
        for (int column = 0; column < columns; ++column) {
            const size_t index = static_cast<size_t>(row) * columns + column;
            const ZmbvVector candidates[] = {
                column > 0 ? m_vectors[index - 1] : ZmbvVector{},
                row > 0 ? m_vectors[index - columns] : ZmbvVector{},
                m_vectors[index],  // still last frame's: this block is not done yet
                ZmbvVector{0, m_scrolls[index]}, found};
            const ZmbvBlock b = m_grid.Block(column, row);
            ZmbvChoice choice = ZmbvChooseVector(current, previous, m_grid, b, candidates, 5);
            // A block the likely vectors leave much changed may be part of a
            // moving window (its edge changes only a little, but counts too).
            if (searches > 0 && choice.changes * 8 > Words(b)) {
                --searches;
                choice = ZmbvSearchVector(current, previous, m_grid, b, choice, ZmbvMaxVector);
                if (!(choice.vector == ZmbvVector{0, 0})) found = choice.vector;
            }
            choice = ZmbvCheapestXor(current, previous, m_grid, b, choice, candidates, 5);
            m_vectors[index] = choice.vector;
            ZmbvPutVector(choice.vector, choice.changes > 0, m_work.data() + 2 * index);
            if (choice.changes > 0) AppendXor(b, choice.vector);
        }
    }
}

unsigned ZmbvEncoder::Words(const ZmbvBlock& b) const {
    return static_cast<unsigned>((b.width * m_pixelBytes + 3) / 4 * b.height);
}

void ZmbvEncoder::AppendXor(const ZmbvBlock& b, ZmbvVector v) {
    const ZmbvPlane current{m_current.data(), m_grid.width, m_grid.height, m_pixelBytes};
    const ZmbvPlane previous{m_previous.data(), m_grid.width, m_grid.height, m_pixelBytes};
    const size_t rowBytes = static_cast<size_t>(b.width) * static_cast<size_t>(m_pixelBytes);
    for (int y = 0; y < b.height; ++y) {
        const uint8_t* now = current.At(b.x, b.y + y);
        const uint8_t* before = previous.At(b.x + v.dx, b.y + v.dy + y);
        for (size_t i = 0; i < rowBytes; ++i) m_work.push_back(now[i] ^ before[i]);
    }
}
