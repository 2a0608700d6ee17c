// Turns a recording's grabbed frames into the coded frames its file stores:
// through the compressor manager for AVI, through the H.264 encoder for MP4.
#pragma once

#include <windows.h>

#include <cstdint>

class FrameEncoder {
public:
    virtual ~FrameEncoder() = default;

    // The encoder opened and took the input format.
    virtual bool Ready() const = 0;

    struct Result {
        const void* data;
        uint32_t size;
        bool keyFrame;
    };
    // Codes one frame (a packed DIB of the input format); false when the
    // encoder failed. The result stays valid until the next call.
    virtual bool Compress(const BITMAPINFOHEADER& frame, Result& result) = 0;
    // The quality asked for from the next frame on (0 to 10000).
    virtual void SetQuality(int quality) = 0;
};
