#include "codecs/ZmbvDecompressor.h"

#include <cstdint>
#include <cstdlib>

#include "codecs/ZmbvDibs.h"
#include "codecs/ZmbvFormat.h"
#include "codecs/ZmbvOutput.h"

namespace {

bool InputSupported(const BITMAPINFOHEADER* in) {
    return in && IsZmbvCode(in->biCompression) && in->biWidth > 0 && in->biHeight > 0 &&
           in->biWidth <= ZmbvMaxSide && in->biHeight <= ZmbvMaxSide;
}

// Negative heights are top-down bitmaps.
bool OutputMatches(const BITMAPINFOHEADER& in, const BITMAPINFOHEADER& out) {
    return ZmbvKindShows(ZmbvKindFor(in.biBitCount), out.biBitCount) &&
           out.biCompression == BI_RGB && out.biPlanes == 1 && out.biWidth == in.biWidth &&
           std::labs(out.biHeight) == in.biHeight;
}

// The colours of a palette (R, G, B each) into a colour table.
void PutColours(const uint8_t* palette, RGBQUAD* table, DWORD count) {
    for (DWORD i = 0; i < count; ++i, palette += 3) {
        table[i] = RGBQUAD{palette[2], palette[1], palette[0], 0};
    }
}

// Entries of an 8-bit bitmap's colour table: all 256 when it says none.
DWORD TableEntries(const BITMAPINFOHEADER& h) {
    return h.biClrUsed == 0 || h.biClrUsed > 256 ? 256 : h.biClrUsed;
}

}  // namespace

LRESULT ZmbvDecompressor::Query(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) {
    if (!InputSupported(in)) return ICERR_BADFORMAT;
    return !out || OutputMatches(*in, *out) ? ICERR_OK : ICERR_BADFORMAT;
}

// 16 bits for 15 and 16-bit streams, where that loses least; 32 otherwise.
LRESULT ZmbvDecompressor::GetFormat(const BITMAPINFOHEADER* in, BITMAPINFOHEADER* out) {
    if (!InputSupported(in)) return ICERR_BADFORMAT;
    if (!out) return sizeof(BITMAPINFOHEADER);
    const WORD bits = ZmbvKindFor(in->biBitCount) == ZmbvStreamKind::HighColour ? 16 : 32;
    *out = SameSizeHeader(*in, bits, BI_RGB, DibStride(in->biWidth, bits) * in->biHeight);
    return ICERR_OK;
}

LRESULT ZmbvDecompressor::Begin(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) {
    m_begun = false;
    if (!out || Query(in, out) != ICERR_OK) return ICERR_BADFORMAT;
    m_input = *in;
    m_output = *out;
    m_begun = m_decoder.Begin(in->biWidth, in->biHeight);
    return m_begun ? ICERR_OK : ICERR_BADFORMAT;
}

bool ZmbvDecompressor::SameFormats(const ICDECOMPRESS& icd) const {
    const BITMAPINFOHEADER *in = icd.lpbiInput, *out = icd.lpbiOutput;
    return in && out && in->biWidth == m_input.biWidth && in->biHeight == m_input.biHeight &&
           in->biBitCount == m_input.biBitCount && in->biCompression == m_input.biCompression &&
           out->biWidth == m_output.biWidth && out->biHeight == m_output.biHeight &&
           out->biBitCount == m_output.biBitCount && out->biCompression == m_output.biCompression;
}

LRESULT ZmbvDecompressor::Decompress(const ICDECOMPRESS* icd) {
    if (!icd || !icd->lpOutput) return ICERR_BADPARAM;
    if ((!m_begun || !SameFormats(*icd)) && Begin(icd->lpbiInput, icd->lpbiOutput) != ICERR_OK) {
        return ICERR_BADFORMAT;
    }
    const size_t size = icd->lpbiInput->biSizeImage;
    // An empty frame repeats the last picture; it is no data to refuse.
    const bool empty = size == 0 || (icd->dwFlags & ICDECOMPRESS_NULLFRAME) != 0;
    if (!empty &&
        (!icd->lpInput || !m_decoder.Decode(static_cast<const uint8_t*>(icd->lpInput), size))) {
        return ICERR_BADFORMAT;
    }
    if (icd->dwFlags & ICDECOMPRESS_HURRYUP) return ICERR_OK;  // decoded, not shown
    if (!Show(icd->lpOutput)) return ICERR_BADFORMAT;
    // A palette change reaches an 8-bit player through its bitmap's colour table.
    if (m_output.biBitCount == 8) {
        PutColours(m_decoder.Palette(), reinterpret_cast<BITMAPINFO*>(icd->lpbiOutput)->bmiColors,
                   TableEntries(*icd->lpbiOutput));
    }
    return ICERR_OK;
}

LRESULT ZmbvDecompressor::GetPalette(const BITMAPINFOHEADER* in, BITMAPINFO* out) const {
    if (!InputSupported(in) || !out) return ICERR_BADPARAM;
    const bool decoded = ZmbvPalettized(m_decoder.Format());
    const DWORD inColours = in->biBitCount <= 8 ? TableEntries(*in) : 0;
    if (!decoded && (inColours == 0 || in->biSize < sizeof(BITMAPINFOHEADER))) {
        return ICERR_UNSUPPORTED;
    }
    out->bmiHeader.biClrUsed = decoded ? 256 : inColours;
    if (decoded) {
        PutColours(m_decoder.Palette(), out->bmiColors, 256);
    } else {  // nothing decoded yet: the stream format's own table
        const auto* table = reinterpret_cast<const RGBQUAD*>(
            reinterpret_cast<const uint8_t*>(in) + in->biSize);
        for (DWORD i = 0; i < inColours; ++i) out->bmiColors[i] = table[i];
    }
    return ICERR_OK;
}

// The top-down picture into the bitmap; false if there is none yet or it
// cannot be shown at the output's depth.
bool ZmbvDecompressor::Show(void* output) const {
    const uint8_t format = m_decoder.Format();
    const int bits = m_output.biBitCount, width = m_output.biWidth;
    if (!ZmbvFormatShows(format, bits)) return false;
    const LONG height = std::labs(m_output.biHeight);
    const bool topDown = m_output.biHeight < 0;
    const size_t stride = DibStride(width, m_output.biBitCount);
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(ZmbvPixelBytes(format));
    const uint8_t* picture = m_decoder.Picture().data();
    for (LONG y = 0; y < height; ++y) {
        const size_t row = static_cast<size_t>(topDown ? y : height - 1 - y);
        ZmbvConvertRow(picture + rowBytes * static_cast<size_t>(y), format, m_decoder.Palette(),
                       width, bits, static_cast<uint8_t*>(output) + stride * row);
    }
    return true;
}
