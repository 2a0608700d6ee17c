#include "engine/H264FrameEncoder.h"

#include <cstdlib>

#include "encode/PixelRows.h"
#include "engine/Mp4Recording.h"

H264FrameEncoder::H264FrameEncoder(const BITMAPINFOHEADER& input, int quality, int keyFrames,
                                   int playRate)
    : m_width(input.biWidth),
      m_height(std::abs(input.biHeight)),
      m_bitCount(input.biBitCount),
      m_quality(quality) {
    const bool readable = m_bitCount == 32 || m_bitCount == 24 || m_bitCount == 16;
    // A frame's time is its position, which the file sets; the encoder's
    // rate only guides its rate control.
    m_ready = readable && input.biCompression == BI_RGB &&
              m_encoder.Open(m_width, m_height, uint32_t(playRate > 0 ? playRate : 1), 1,
                             RecordingH264Settings(quality, keyFrames));
}

void H264FrameEncoder::SetQuality(int quality) {
    if (quality == m_quality) return;
    m_quality = quality;
    m_encoder.SetQuality(CrfForQuality(quality));
}

// Bottom-up rows: the picture's top row is the last one.
void H264FrameEncoder::ToPicture(const BITMAPINFOHEADER& frame) {
    const auto* pixels =
        reinterpret_cast<const uint8_t*>(&frame) + frame.biSize + 4 * size_t(frame.biClrUsed);
    const std::ptrdiff_t stride = std::ptrdiff_t(RowBytes(m_width, m_bitCount));
    const uint8_t* top = pixels + stride * (m_height - 1);
    if (m_bitCount == 32) {
        BgraToYuv420(top, -stride, m_width, m_height, m_picture);
        return;
    }
    const std::ptrdiff_t bgraStride = std::ptrdiff_t(m_width) * 4;
    m_bgra.resize(size_t(bgraStride) * m_height);
    for (int row = 0; row < m_height; ++row)
        RowToBgra(top - stride * row, m_bitCount, m_width, m_bgra.data() + bgraStride * row);
    BgraToYuv420(m_bgra.data(), bgraStride, m_width, m_height, m_picture);
}

bool H264FrameEncoder::Compress(const BITMAPINFOHEADER& frame, Result& result) {
    if (!m_ready) return false;
    ToPicture(frame);
    m_coded.clear();
    if (!m_encoder.Encode(m_picture, m_frameNumber++, m_coded) || m_coded.size() != 1) return false;
    const EncodedFrame& coded = m_coded.front();
    result = {coded.data.data(), uint32_t(coded.data.size()), coded.keyFrame};
    return true;
}
