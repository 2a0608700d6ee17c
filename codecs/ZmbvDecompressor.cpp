#include "codecs/ZmbvDecompressor.h"

#include <cstdint>
#include <cstring>

#include "codecs/ZmbvDibs.h"
#include "codecs/ZmbvFormat.h"

namespace {

bool InputSupported(const BITMAPINFOHEADER* in) {
    return in && IsZmbvCode(in->biCompression) && (in->biBitCount == 16 || in->biBitCount == 32) &&
           in->biWidth > 0 && in->biHeight > 0 && in->biWidth <= ZmbvMaxSide &&
           in->biHeight <= ZmbvMaxSide;
}

// 32 bits always; 16 only from a 15-bit stream, where nothing is lost.
bool OutputMatches(const BITMAPINFOHEADER& in, const BITMAPINFOHEADER& out) {
    const bool depth = out.biBitCount == 32 || (out.biBitCount == 16 && in.biBitCount == 16);
    return depth && out.biCompression == BI_RGB && out.biPlanes == 1 && out.biWidth == in.biWidth &&
           out.biHeight == in.biHeight;
}

// 5-bit channels to 8 bits, the top bits repeated below so white stays white.
void Expand15To32(const uint8_t* from, int width, uint8_t* to) {
    for (int x = 0; x < width; ++x) {
        const unsigned word = from[2 * x] | (from[2 * x + 1] << 8);
        for (int c = 0; c < 3; ++c) {
            const unsigned v = (word >> (5 * c)) & 0x1F;
            to[4 * x + c] = static_cast<uint8_t>((v << 3) | (v >> 2));
        }
        to[4 * x + 3] = 0;
    }
}

}  // namespace

LRESULT ZmbvDecompressor::Query(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) {
    if (!InputSupported(in)) return ICERR_BADFORMAT;
    return !out || OutputMatches(*in, *out) ? ICERR_OK : ICERR_BADFORMAT;
}

LRESULT ZmbvDecompressor::GetFormat(const BITMAPINFOHEADER* in, BITMAPINFOHEADER* out) {
    if (!InputSupported(in)) return ICERR_BADFORMAT;
    if (!out) return sizeof(BITMAPINFOHEADER);
    *out = SameSizeHeader(*in, in->biBitCount, BI_RGB,
                          DibStride(in->biWidth, in->biBitCount) * static_cast<size_t>(in->biHeight));
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
    return Show(icd->lpOutput) ? ICERR_OK : ICERR_BADFORMAT;
}

// The top-down picture into the bottom-up bitmap; false if there is none
// yet or its depth does not fit the output.
bool ZmbvDecompressor::Show(void* output) const {
    const int pixelBytes = m_decoder.PixelBytes(), width = m_output.biWidth;
    const int outBytes = m_output.biBitCount / 8;
    if (pixelBytes == 0 || (pixelBytes == 4 && outBytes == 2)) return false;
    const size_t stride = DibStride(width, m_output.biBitCount);
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(pixelBytes);
    const uint8_t* picture = m_decoder.Picture().data();
    for (LONG y = 0; y < m_output.biHeight; ++y) {
        const uint8_t* from = picture + rowBytes * static_cast<size_t>(y);
        uint8_t* to =
            static_cast<uint8_t*>(output) + stride * static_cast<size_t>(m_output.biHeight - 1 - y);
        if (pixelBytes == outBytes) {
            std::memcpy(to, from, rowBytes);
        } else {
            Expand15To32(from, width, to);
        }
    }
    return true;
}
