// What the ZMBV driver's two sides share: the format's codes and the row
// layout of the uncompressed bitmaps on either side of it.
#pragma once

#include <windows.h>

#include <vfw.h>

#include <cstddef>

constexpr DWORD ZmbvFourcc = mmioFOURCC('Z', 'M', 'B', 'V');

// Files in the wild carry the code in either case.
inline bool IsZmbvCode(DWORD code) {
    return code == ZmbvFourcc || code == mmioFOURCC('z', 'm', 'b', 'v');
}

// Bytes from one row of a BI_RGB bitmap to the next: rows are padded to 4 bytes.
inline size_t DibStride(LONG width, WORD bitCount) {
    return (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
}

inline const BITMAPINFOHEADER* DibHeader(LPARAM lParam) {
    const auto* info = reinterpret_cast<const BITMAPINFO*>(lParam);
    return info ? &info->bmiHeader : nullptr;
}

// The header of the other side of a conversion: the same picture size, in
// this depth and code.
inline BITMAPINFOHEADER SameSizeHeader(const BITMAPINFOHEADER& in, WORD bitCount, DWORD compression,
                                       size_t imageBytes) {
    BITMAPINFOHEADER out{};
    out.biSize = sizeof(BITMAPINFOHEADER);
    out.biWidth = in.biWidth;
    out.biHeight = in.biHeight;
    out.biPlanes = 1;
    out.biBitCount = bitCount;
    out.biCompression = compression;
    out.biSizeImage = static_cast<DWORD>(imageBytes);
    return out;
}
