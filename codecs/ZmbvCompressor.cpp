#include "codecs/ZmbvCompressor.h"

#include <cstring>

#include "codecs/ZmbvDibs.h"

namespace {

constexpr int TopLevel = 9;

bool InputSupported(const BITMAPINFOHEADER* in) {
    return in && in->biCompression == BI_RGB && in->biPlanes == 1 &&
           ZmbvEncoder::Supports(in->biWidth, in->biHeight, in->biBitCount);
}

WORD StreamBits(const BITMAPINFOHEADER& in) { return in.biBitCount == 16 ? 16 : 32; }

bool OutputMatches(const BITMAPINFOHEADER& in, const BITMAPINFOHEADER& out) {
    return IsZmbvCode(out.biCompression) && out.biBitCount == StreamBits(in) &&
           out.biWidth == in.biWidth && out.biHeight == in.biHeight;
}

bool SameInput(const BITMAPINFOHEADER& a, const BITMAPINFOHEADER* b) {
    return b && a.biWidth == b->biWidth && a.biHeight == b->biHeight &&
           a.biBitCount == b->biBitCount && b->biCompression == BI_RGB;
}

size_t MaxFrameBytes(const BITMAPINFOHEADER& in) {
    return ZmbvEncoder::MaxFrameBytes(in.biWidth, in.biHeight, in.biBitCount);
}

}  // namespace

// Linear in two pieces, through (0, 1), (default, default level) and (10000, 9):
// level 0 would store frames without compressing them at all.
int ZmbvCompressor::LevelFor(DWORD quality) {
    const DWORD q = quality > 10000 ? 10000 : quality;
    const int base = ZmbvEncoder::DefaultLevel;
    if (q <= DefaultQuality) return 1 + static_cast<int>(q * (base - 1) / DefaultQuality);
    return base +
           static_cast<int>((q - DefaultQuality) * (TopLevel - base) / (10000 - DefaultQuality));
}

LRESULT ZmbvCompressor::Query(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) {
    if (!InputSupported(in)) return ICERR_BADFORMAT;
    return !out || OutputMatches(*in, *out) ? ICERR_OK : ICERR_BADFORMAT;
}

LRESULT ZmbvCompressor::GetFormat(const BITMAPINFOHEADER* in, BITMAPINFOHEADER* out) {
    if (!InputSupported(in)) return ICERR_BADFORMAT;
    if (!out) return sizeof(BITMAPINFOHEADER);
    *out = SameSizeHeader(*in, StreamBits(*in), ZmbvFourcc, MaxFrameBytes(*in));
    return ICERR_OK;
}

LRESULT ZmbvCompressor::GetSize(const BITMAPINFOHEADER* in) {
    return InputSupported(in) ? static_cast<LRESULT>(MaxFrameBytes(*in)) : 0;
}

LRESULT ZmbvCompressor::FramesInfo(const ICCOMPRESSFRAMES* frames) {
    if (!frames) return ICERR_BADPARAM;
    if (frames->lQuality >= 0) SetQuality(static_cast<DWORD>(frames->lQuality));
    m_keyFrameEvery = frames->lKeyRate > 0 ? static_cast<int>(frames->lKeyRate) : 0;
    return ICERR_OK;
}

LRESULT ZmbvCompressor::Begin(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) {
    if (Query(in, out) != ICERR_OK) return ICERR_BADFORMAT;
    m_input = *in;
    return Restart(LevelFor(m_quality)) ? ICERR_OK : ICERR_MEMORY;
}

// A new sequence: its first frame is a key frame.
bool ZmbvCompressor::Restart(int level) {
    m_level = level;
    m_sinceKey = 0;
    m_begun = m_encoder.Begin(m_input.biWidth, m_input.biHeight, m_input.biBitCount, level);
    return m_begun;
}

bool ZmbvCompressor::WantsKeyFrame(const ICCOMPRESS& ic) const {
    return (ic.dwFlags & ICCOMPRESS_KEYFRAME) != 0 || m_sinceKey == 0 ||
           (m_keyFrameEvery > 0 && m_sinceKey >= m_keyFrameEvery);
}

LRESULT ZmbvCompressor::Compress(ICCOMPRESS* ic) {
    if (!ic || !ic->lpInput || !ic->lpOutput || !ic->lpbiOutput) return ICERR_BADPARAM;
    if ((!m_begun || !SameInput(m_input, ic->lpbiInput)) &&
        Begin(ic->lpbiInput, nullptr) != ICERR_OK) {
        return ICERR_BADFORMAT;
    }
    const DWORD quality =
        ic->dwQuality == static_cast<DWORD>(ICQUALITY_DEFAULT) ? m_quality : ic->dwQuality;
    const bool key = WantsKeyFrame(*ic);
    // The level is the zlib stream's, so a new one waits for a key frame.
    if (key && LevelFor(quality) != m_level && !Restart(LevelFor(quality))) return ICERR_MEMORY;
    const auto* input = static_cast<const uint8_t*>(ic->lpInput);
    const size_t stride = DibStride(m_input.biWidth, m_input.biBitCount);
    const uint8_t* topRow = input + stride * static_cast<size_t>(m_input.biHeight - 1);
    if (!m_encoder.Encode(topRow, -static_cast<ptrdiff_t>(stride), key, m_frame) ||
        m_frame.size() > MaxFrameBytes(m_input)) {
        m_sinceKey = 0;  // the encoder starts afresh after a failure
        return ICERR_INTERNAL;
    }
    std::memcpy(ic->lpOutput, m_frame.data(), m_frame.size());
    ic->lpbiOutput->biSizeImage = static_cast<DWORD>(m_frame.size());
    if (ic->lpdwFlags) *ic->lpdwFlags = key ? AVIIF_KEYFRAME : 0;
    m_sinceKey = key ? 1 : m_sinceKey + 1;
    return ICERR_OK;
}
