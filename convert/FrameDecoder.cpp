#include "convert/FrameDecoder.h"

#include <cstring>

#include "encode/PixelRows.h"

namespace {

std::string FourccText(DWORD code) {
    std::string text(reinterpret_cast<const char*>(&code), 4);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32) c = '?';
    return text;
}

}  // namespace

FrameDecoder::~FrameDecoder() {
    if (!m_codec) return;
    ICDecompressEnd(m_codec);
    ICClose(m_codec);
}

bool FrameDecoder::Open(const std::vector<uint8_t>& format) {
    if (format.size() < sizeof(BITMAPINFOHEADER)) {
        m_error = "The video stream's format is cut short.";
        return false;
    }
    m_in = format;
    const auto* in = reinterpret_cast<const BITMAPINFOHEADER*>(m_in.data());
    m_width = in->biWidth;
    m_height = in->biHeight < 0 ? -in->biHeight : in->biHeight;
    if (m_width <= 0 || m_height <= 0 || m_width > 16384 || m_height > 16384) {
        m_error = "The video stream's picture size is not usable.";
        return false;
    }
    if (in->biCompression == BI_RGB) {
        // Uncompressed: the rows themselves, no codec needed.
        m_rawBits = in->biBitCount;
        m_topDown = in->biHeight < 0;
        if (m_rawBits != 32 && m_rawBits != 24 && m_rawBits != 16) {
            m_error = "Uncompressed frames of " + std::to_string(m_rawBits) + " bits are not taken.";
            return false;
        }
        m_bgra.assign(size_t(m_width) * 4 * m_height, 0);
        return true;
    }
    // The depths players ask for, best first: some codecs give only 24 or 16 bits.
    for (const WORD bits : {32, 24, 16})
        if (Begin(bits)) return true;
    m_error = "No installed codec decompresses this video (" + FourccText(in->biCompression) +
              "). Install the codec the recording was made with.";
    return false;
}

bool FrameDecoder::Begin(WORD bitCount) {
    m_out = {};
    m_out.biSize = sizeof m_out;
    m_out.biWidth = m_width;
    m_out.biHeight = m_height;
    m_out.biPlanes = 1;
    m_out.biBitCount = bitCount;
    m_out.biCompression = BI_RGB;
    m_out.biSizeImage = RowBytes(m_width, bitCount) * m_height;
    auto* in = reinterpret_cast<BITMAPINFO*>(m_in.data());
    auto* out = reinterpret_cast<BITMAPINFO*>(&m_out);
    // The codec of the stream's own code first, then any that takes it.
    HIC codec = ICLocate(ICTYPE_VIDEO, in->bmiHeader.biCompression, &in->bmiHeader,
                         &out->bmiHeader, ICMODE_DECOMPRESS);
    if (!codec)
        codec = ICLocate(ICTYPE_VIDEO, 0, &in->bmiHeader, &out->bmiHeader, ICMODE_DECOMPRESS);
    if (!codec) return false;
    if (ICDecompressBegin(codec, in, out) != ICERR_OK) {
        ICClose(codec);
        return false;
    }
    m_codec = codec;
    m_outBits.assign(m_out.biSizeImage, 0);
    m_bgra.assign(size_t(m_width) * 4 * m_height, 0);
    return true;
}

bool FrameDecoder::Decode(std::vector<uint8_t>& chunk, bool keyFrame) {
    if (m_rawBits) return CopyRows(chunk);
    auto* in = reinterpret_cast<BITMAPINFOHEADER*>(m_in.data());
    in->biSizeImage = static_cast<DWORD>(chunk.size());
    const DWORD flags = keyFrame ? 0 : ICDECOMPRESS_NOTKEYFRAME;
    if (ICDecompress(m_codec, flags, in, chunk.data(), &m_out, m_outBits.data()) != ICERR_OK) {
        m_error = "The codec could not decompress a frame.";
        return false;
    }
    ToBgra();
    return true;
}

void FrameDecoder::ToBgra() { RowsToBgra(m_outBits.data(), m_out.biBitCount, false); }

bool FrameDecoder::CopyRows(const std::vector<uint8_t>& chunk) {
    if (chunk.size() < RowBytes(m_width, m_rawBits) * m_height) {
        m_error = "An uncompressed frame is cut short.";
        return false;
    }
    RowsToBgra(chunk.data(), m_rawBits, m_topDown);
    return true;
}

// Into the bottom-up 32-bit picture.
void FrameDecoder::RowsToBgra(const uint8_t* bits, int bitCount, bool topDown) {
    const size_t inRow = RowBytes(m_width, bitCount), outRow = size_t(m_width) * 4;
    for (int y = 0; y < m_height; ++y) {
        const int from = topDown ? m_height - 1 - y : y;
        RowToBgra(bits + inRow * from, bitCount, m_width, m_bgra.data() + outRow * y);
    }
}

const uint8_t* FrameDecoder::TopRow() const {
    return m_bgra.data() + size_t(m_width) * 4 * (m_height - 1);
}

std::ptrdiff_t FrameDecoder::Stride() const { return -std::ptrdiff_t(m_width) * 4; }
