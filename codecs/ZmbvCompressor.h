// The compression side of the ZMBV driver: the compressor manager's
// ICM_COMPRESS_* messages for one open instance. It takes bottom-up BI_RGB
// frames of 16 (5-5-5), 24 or 32 bits and writes the stream's 15-bit mode
// for 16-bit input and its 32-bit mode otherwise, without loss.
#pragma once

#include <windows.h>

#include <vfw.h>

#include <cstdint>
#include <vector>

#include "codecs/ZmbvEncoder.h"

class ZmbvCompressor {
public:
    static constexpr DWORD DefaultQuality = 8500;

    // zlib's level for a quality of 0..10000: the default quality gives the
    // encoder's fast default level, the top one zlib's smallest output.
    static int LevelFor(DWORD quality);

    static LRESULT Query(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out);
    static LRESULT GetFormat(const BITMAPINFOHEADER* in, BITMAPINFOHEADER* out);
    static LRESULT GetSize(const BITMAPINFOHEADER* in);

    DWORD Quality() const { return m_quality; }
    void SetQuality(DWORD quality) { m_quality = quality > 10000 ? 10000 : quality; }
    LRESULT FramesInfo(const ICCOMPRESSFRAMES* frames);
    LRESULT Begin(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out);
    LRESULT Compress(ICCOMPRESS* ic);
    void End() { m_begun = false; }

private:
    bool Restart(int level);
    bool WantsKeyFrame(const ICCOMPRESS& ic) const;

    ZmbvEncoder m_encoder;
    BITMAPINFOHEADER m_input{};
    DWORD m_quality = DefaultQuality;
    int m_level = 0;          // of the running sequence
    int m_keyFrameEvery = 0;  // 0: only where the caller asks
    int m_sinceKey = 0;       // frames since the last key frame, that one included
    bool m_begun = false;
    std::vector<uint8_t> m_frame;
};
