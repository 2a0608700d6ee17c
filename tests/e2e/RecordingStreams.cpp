#include "tests/e2e/RecordingStreams.h"

#include <windows.h>

#include <mmsystem.h>

#include <cstring>

namespace {

template <typename T>
std::vector<uint8_t> BytesOf(const T& value, size_t size) {
    std::vector<uint8_t> bytes(size);
    std::memcpy(bytes.data(), &value, size);
    return bytes;
}

}  // namespace

uint32_t DibFrameBytes(int width, int height) {
    return uint32_t((width * 3 + 3) & ~3) * uint32_t(height);
}

AviVideoStream DibVideoStream(int width, int height, uint32_t rate) {
    BITMAPINFOHEADER bih{};
    bih.biSize = sizeof bih;
    bih.biWidth = width;
    bih.biHeight = height;  // positive: bottom-up
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    bih.biSizeImage = DibFrameBytes(width, height);
    AviVideoStream video;
    video.handler = mmioFOURCC('D', 'I', 'B', ' ');
    video.rate = rate;
    video.format = BytesOf(bih, sizeof bih);
    return video;
}

AviAudioStream PcmAudioStream() {
    WAVEFORMATEX wfx{};
    wfx.wFormatTag = WAVE_FORMAT_PCM;
    wfx.nChannels = 2;
    wfx.nSamplesPerSec = SoundBlocks::SamplesPerSec;
    wfx.wBitsPerSample = 16;
    wfx.nBlockAlign = SoundBlocks::FrameBytes;
    wfx.nAvgBytesPerSec = SoundBlocks::SamplesPerSec * SoundBlocks::FrameBytes;
    wfx.cbSize = 0;
    AviAudioStream audio;
    audio.format = BytesOf(wfx, 18);  // WAVEFORMATEX as stored: no padding after cbSize
    return audio;
}

bool SoundBlocks::DueBy(uint32_t position, uint32_t rate) const {
    // Block k ends at (k + 1) / 8 s; position p plays at p / rate s.
    return uint64_t(m_blocks + 1) * rate <= uint64_t(position) * BlocksPerSec;
}

const std::vector<uint8_t>& SoundBlocks::Next() {
    // 44100 / 8 is not whole: block k ends at the sample frame (k + 1) * 44100 / 8.
    const uint64_t end = uint64_t(m_blocks + 1) * SamplesPerSec / BlocksPerSec;
    m_bytes.resize(size_t(end - m_samples) * FrameBytes);
    uint8_t* p = m_bytes.data();
    for (uint64_t i = m_samples; i < end; ++i, p += FrameBytes) {
        const uint16_t left = uint16_t(i), right = uint16_t(~left);
        p[0] = uint8_t(left), p[1] = uint8_t(left >> 8);
        p[2] = uint8_t(right), p[3] = uint8_t(right >> 8);
    }
    m_samples = end;
    ++m_blocks;
    return m_bytes;
}
