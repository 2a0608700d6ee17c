// The header of an uncompressed bottom-up bitmap, as the driver tests hand
// frames to the compressor manager.
#pragma once

#include <windows.h>

#include "codecs/ZmbvDibs.h"

inline BITMAPINFOHEADER RgbHeader(int width, int height, int bitCount) {
    BITMAPINFOHEADER size{};
    size.biWidth = width;
    size.biHeight = height;
    const WORD bits = static_cast<WORD>(bitCount);
    return SameSizeHeader(size, bits, BI_RGB,
                          DibStride(width, bits) * static_cast<size_t>(height));
}
