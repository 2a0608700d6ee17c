// Layout of a frame block: a packed device-independent bitmap (header,
// colour table, bottom-up pixel rows) in one contiguous allocation.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t FrameHeaderSize = 40;  // BITMAPINFOHEADER

// Bytes per pixel row, padded to a multiple of four.
size_t FrameStride(int bitCount, int width);
size_t FrameImageSize(int bitCount, int width, int height);
// Colour-table entries: a full palette up to 8 bits per pixel, none above.
uint32_t FrameColourCount(int bitCount);
// Offset of the first pixel row from the start of the block.
size_t FramePixelOffset(int bitCount);
size_t FrameBlockSize(int bitCount, int width, int height);
