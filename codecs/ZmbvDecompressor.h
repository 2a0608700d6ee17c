// The decompression side of the ZMBV driver: the ICM_DECOMPRESS_* messages
// for one open instance. It takes any stream whose code is ZMBV, whatever
// bit count its format claims (0 in many files), and shows it as a BI_RGB
// bitmap, bottom-up or top-down, of 32 or 24 bits, of 16 bits (5-5-5) for
// 15 and 16-bit streams, or of 8 bits with the stream's palette for
// palettized ones. A frame the decoder refuses is refused here, and so are
// the delta frames after it until the next key frame.
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
    // The stream's palette into the colour table of `out`.
    LRESULT GetPalette(const BITMAPINFOHEADER* in, BITMAPINFO* out) const;
    void End() { m_begun = false; }

private:
    bool SameFormats(const ICDECOMPRESS& icd) const;
    bool Show(void* output) const;

    ZmbvDecoder m_decoder;
    BITMAPINFOHEADER m_input{}, m_output{};
    bool m_begun = false;
};
