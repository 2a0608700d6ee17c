// The decompression side of the ZMBV driver: the ICM_DECOMPRESS_* messages
// for one open instance. Output is a bottom-up BI_RGB bitmap of 32 bits, or
// of 16 bits (5-5-5) for a stream in its 15-bit mode. A frame the decoder
// refuses is refused here, and so are the delta frames after it until the
// next key frame.
#pragma once

#include <windows.h>

#include <vfw.h>

#include "codecs/ZmbvDecoder.h"

class ZmbvDecompressor {
public:
    static LRESULT Query(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out);
    static LRESULT GetFormat(const BITMAPINFOHEADER* in, BITMAPINFOHEADER* out);

    LRESULT Begin(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out);
    LRESULT Decompress(const ICDECOMPRESS* icd);
    void End() { m_begun = false; }

private:
    bool SameFormats(const ICDECOMPRESS& icd) const;
    bool Show(void* output) const;

    ZmbvDecoder m_decoder;
    BITMAPINFOHEADER m_input{}, m_output{};
    bool m_begun = false;
};
