// A recording's pictures as the platform plays them: every stored frame of
// the file's video stream, decoded to 32 bits by the decompressor that the
// compressor manager finds for the stream's format.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct PlatformFilm {
    bool decoded = false;   // a decompressor was found and took every frame
    DWORD compression = 0;  // the stream format's code
    long width = 0, height = 0;
    std::vector<std::vector<uint32_t>> pictures;  // 0x00RRGGBB, bottom row first

    COLORREF At(size_t picture, POINT p) const;  // p from the top-left corner
};

PlatformFilm DecodeWithPlatform(const std::string& path);
