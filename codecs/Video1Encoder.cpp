#include "codecs/Video1Encoder.h"

#include <cstring>

#include "codecs/Video1Block.h"

namespace {

constexpr unsigned SkipCode = 0x8400;
constexpr unsigned MaxSkipRun = 0x3FF;  // skip counts have 10 bits

uint8_t* PutWord(uint8_t* out, unsigned word) {
    out[0] = static_cast<uint8_t>(word & 0xFF);
    out[1] = static_cast<uint8_t>(word >> 8);
    return out + 2;
}

uint8_t* FlushSkips(uint8_t* out, unsigned& skips) {
    for (; skips > 0; skips -= skips < MaxSkipRun ? skips : MaxSkipRun) {
        out = PutWord(out, SkipCode | (skips < MaxSkipRun ? skips : MaxSkipRun));
    }
    return out;
}

}  // namespace

bool Video1Encoder::Supports(int width, int height, int bitCount) {
    const bool depthOk = bitCount == 16 || bitCount == 24 || bitCount == 32;
    return depthOk && width > 0 && height > 0 && width % 4 == 0 && height % 4 == 0;
}

size_t Video1Encoder::MaxFrameBytes(int width, int height) {
    return static_cast<size_t>(width / 4) * static_cast<size_t>(height / 4) * 18;
}

size_t Video1Encoder::RowStride(int width, int bitCount) {
    return (static_cast<size_t>(width) * static_cast<size_t>(bitCount) + 31) / 32 * 4;
}

bool Video1Encoder::Begin(int width, int height, int bitCount, int keyFrameEvery) {
    if (!Supports(width, height, bitCount)) return false;
    m_width = width;
    m_height = height;
    m_bitCount = bitCount;
    m_keyFrameEvery = keyFrameEvery > 0 ? keyFrameEvery : 0;
    m_stride = RowStride(width, bitCount);
    m_sinceKeyFrame = -1;
    m_picture.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    m_previous.assign(m_stride * static_cast<size_t>(height), 0);
    return true;
}

Video1FrameResult Video1Encoder::Encode(const uint8_t* dib, int quality, bool forceKeyFrame,
                                        uint8_t* out) {
    const bool key = forceKeyFrame || m_sinceKeyFrame < 0 ||
                     (m_keyFrameEvery > 0 && m_sinceKeyFrame + 1 >= m_keyFrameEvery);
    m_sinceKeyFrame = key ? 0 : m_sinceKeyFrame + 1;
    const uint32_t lambda = Video1Lambda(quality < 0 ? 0 : quality > 10000 ? 10000 : quality);
    uint8_t* end = out;
    m_pendingSkips = 0;
    for (int blockRow = 0; blockRow < m_height / 4; ++blockRow) {
        end = EncodeBlockRow(dib, blockRow, lambda, key, end);
    }
    end = FlushSkips(end, m_pendingSkips);
    std::memcpy(m_previous.data(), dib, m_previous.size());
    return {static_cast<size_t>(end - out), key};
}

// A block whose source pixels equal the last frame's keeps its picture: that
// picture was good enough when it was made from the same pixels.
bool Video1Encoder::BlockUnchanged(const uint8_t* source, size_t offset) const {
    const size_t rowBytes = static_cast<size_t>(m_bitCount) / 2;  // 4 pixels
    for (int y = 0; y < 4; ++y) {
        const size_t at = offset + static_cast<size_t>(y) * m_stride;
        if (std::memcmp(source + at, m_previous.data() + at, rowBytes) != 0) return false;
    }
    return true;
}

uint8_t* Video1Encoder::EncodeBlockRow(const uint8_t* dib, int blockRow, uint32_t lambda, bool key,
                                       uint8_t* out) {
    const size_t rowOffset = static_cast<size_t>(blockRow) * 4 * m_stride;
    uint16_t* picture = m_picture.data() + static_cast<size_t>(blockRow) * 4 * m_width;
    Video1BlockPixels pixels;
    Video1BlockCode code;
    uint16_t kept[16];
    for (int x = 0; x < m_width; x += 4) {
        const size_t offset = rowOffset + static_cast<size_t>(x) * m_bitCount / 8;
        if (!key && BlockUnchanged(dib, offset)) {
            ++m_pendingSkips;
            continue;
        }
        LoadBlock(dib + offset, static_cast<int>(m_stride), m_bitCount, pixels);
        uint32_t skipError = UINT32_MAX;
        if (!key) {
            for (int y = 0; y < 4; ++y) std::memcpy(kept + 4 * y, picture + y * m_width + x, 8);
            skipError = BlockError(pixels, kept);
        }
        if (!ChooseBlockCode(pixels, lambda, skipError, code)) {
            ++m_pendingSkips;
            continue;
        }
        out = FlushSkips(out, m_pendingSkips);
        std::memcpy(out, code.bytes, static_cast<size_t>(code.size));
        out += code.size;
        for (int y = 0; y < 4; ++y) std::memcpy(picture + y * m_width + x, code.pixels + 4 * y, 8);
    }
    return out;
}
