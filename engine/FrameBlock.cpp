#include "engine/FrameBlock.h"

size_t FrameStride(int bitCount, int width) {
    return (static_cast<size_t>(bitCount) * static_cast<size_t>(width) + 31) / 32 * 4;
}

size_t FrameImageSize(int bitCount, int width, int height) {
    return FrameStride(bitCount, width) * static_cast<size_t>(height);
}

uint32_t FrameColourCount(int bitCount) { return bitCount <= 8 ? 1u << bitCount : 0; }

size_t FramePixelOffset(int bitCount) { return FrameHeaderSize + 4 * FrameColourCount(bitCount); }

size_t FrameBlockSize(int bitCount, int width, int height) {
    return FramePixelOffset(bitCount) + FrameImageSize(bitCount, width, height);
}
