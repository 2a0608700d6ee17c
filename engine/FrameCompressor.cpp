#include "engine/FrameCompressor.h"


namespace {

constexpr LRESULT MaxFormatBytes = sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + 4096;

size_t FormatBytes(const BITMAPINFOHEADER& header) {
    return header.biSize + 4 * size_t(header.biClrUsed);
}

const BYTE* PixelsOf(const BITMAPINFOHEADER& frame) {
    return reinterpret_cast<const BYTE*>(&frame) + FormatBytes(frame);
}

BITMAPINFOHEADER* Header(std::vector<uint8_t>& format) {
    return reinterpret_cast<BITMAPINFOHEADER*>(format.data());
}

}  // namespace

FrameCompressor::FrameCompressor(DWORD handler, const BITMAPINFOHEADER& input, int quality,
                                 int keyFrames, int playRate)
    : m_quality(quality), m_keyFrames(keyFrames), m_playRate(playRate) {
    m_compressor = ICOpen(ICTYPE_VIDEO, handler, ICMODE_COMPRESS);
    if (m_compressor) m_begun = Begin(input);
}

FrameCompressor::~FrameCompressor() {
    if (m_begun) ICCompressEnd(m_compressor);
    if (m_compressor) ICClose(m_compressor);
}

bool FrameCompressor::Begin(const BITMAPINFOHEADER& input) {
    const auto* in = reinterpret_cast<const uint8_t*>(&input);
    m_inputFormat.assign(in, in + FormatBytes(input));
    BITMAPINFO* inInfo = reinterpret_cast<BITMAPINFO*>(m_inputFormat.data());
    // Answers are error codes as often as sizes: only a plausible size counts.
    const LRESULT formatBytes = ICSendMessage(m_compressor, ICM_COMPRESS_GET_FORMAT,
                                              reinterpret_cast<DWORD_PTR>(inInfo), 0);
    if (formatBytes < LRESULT(sizeof(BITMAPINFOHEADER)) || formatBytes > MaxFormatBytes)
        return false;
    m_outputFormat.assign(size_t(formatBytes), 0);
    BITMAPINFO* outInfo = reinterpret_cast<BITMAPINFO*>(m_outputFormat.data());
    if (ICCompressGetFormat(m_compressor, inInfo, outInfo) != ICERR_OK) return false;
    m_outputFormat.resize(FormatBytes(outInfo->bmiHeader));
    const LRESULT maxBytes = LONG(ICCompressGetSize(m_compressor, inInfo, outInfo));
    if (maxBytes <= 0) return false;
    m_output.resize(size_t(maxBytes));

    ICINFO info{};
    ICGetInfo(m_compressor, &info, sizeof info);
    m_needsPrevious = (info.dwFlags & VIDCF_TEMPORAL) && !(info.dwFlags & VIDCF_FASTTEMPORALC);
    ICCOMPRESSFRAMES frames{};
    frames.lpbiOutput = &outInfo->bmiHeader;
    frames.lpbiInput = &inInfo->bmiHeader;
    frames.lQuality = m_quality;
    frames.lKeyRate = m_keyFrames;
    frames.dwRate = DWORD(m_playRate);
    frames.dwScale = 1;
    ICSendMessage(m_compressor, ICM_COMPRESS_FRAMES_INFO, reinterpret_cast<DWORD_PTR>(&frames),
                  sizeof frames);
    return ICCompressBegin(m_compressor, inInfo, outInfo) == ICERR_OK;
}

bool FrameCompressor::Compress(const BITMAPINFOHEADER& frame, Result& result) {
    if (!m_begun) return false;
    const bool askKey = m_keyFrames <= 1 || m_frameNumber % m_keyFrames == 0 ||
                        (m_needsPrevious && m_previous.empty());
    // The compressor writes the frame's size into its copy of the header.
    m_workFormat = m_outputFormat;
    Header(m_workFormat)->biSizeImage = DWORD(m_output.size());
    DWORD chunkId = 0, flags = 0;
    const bool usePrevious = m_needsPrevious && !askKey;
    const DWORD status = ICCompress(
        m_compressor, askKey ? ICCOMPRESS_KEYFRAME : 0, Header(m_workFormat), m_output.data(),
        Header(m_inputFormat), const_cast<BYTE*>(PixelsOf(frame)), &chunkId, &flags,
        m_frameNumber, 0, DWORD(m_quality), usePrevious ? Header(m_inputFormat) : nullptr,
        usePrevious ? m_previous.data() : nullptr);
    if (status != ICERR_OK) return false;
    if (m_needsPrevious) m_previous.assign(PixelsOf(frame), PixelsOf(frame) + frame.biSizeImage);
    ++m_frameNumber;
    result = {m_output.data(), uint32_t(Header(m_workFormat)->biSizeImage),
              (flags & AVIIF_KEYFRAME) != 0};
    return result.size <= m_output.size();
}
