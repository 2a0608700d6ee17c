// The recording's video frames decompressed by whatever the compressor
// manager has for them (our built-in ZMBV and Video 1, or an installed
// codec), or taken as they are when uncompressed, into 32-bit pictures.
#pragma once

#include <windows.h>

#include <vfw.h>

#include <cstdint>
#include <string>
#include <vector>

class FrameDecoder {
public:
    FrameDecoder() = default;
    ~FrameDecoder();
    FrameDecoder(const FrameDecoder&) = delete;
    FrameDecoder& operator=(const FrameDecoder&) = delete;

    // format: the stream's BITMAPINFOHEADER with its colour table. False,
    // with Error() saying why, when no decompressor takes it.
    bool Open(const std::vector<uint8_t>& format);
    // Decodes one chunk over the last picture; false when the codec refused it.
    bool Decode(std::vector<uint8_t>& chunk, bool keyFrame);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The picture as 32-bit pixels, rows Stride() bytes apart from the top.
    const uint8_t* TopRow() const;
    std::ptrdiff_t Stride() const;
    const std::string& Error() const { return m_error; }

private:
    bool Begin(WORD bitCount);
    void ToBgra();
    bool CopyRows(const std::vector<uint8_t>& chunk);
    void RowsToBgra(const uint8_t* bits, int bitCount, bool topDown);

    HIC m_codec = nullptr;
    std::vector<uint8_t> m_in;  // the input format, kept for ICDecompress
    BITMAPINFOHEADER m_out{};
    std::vector<uint8_t> m_outBits;  // as the codec writes them, bottom-up
    std::vector<uint8_t> m_bgra;     // the same at 32 bits, bottom-up
    int m_width = 0, m_height = 0;
    int m_rawBits = 0;       // uncompressed frames of this depth; 0: through the codec
    bool m_topDown = false;  // an uncompressed stream's first row is the top
    std::string m_error;
};
