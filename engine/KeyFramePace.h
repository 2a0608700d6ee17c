// How fast a recording's key frames are compressed. A key frame costs the
// built-in lossless compressor several intervals at its default quality
// (1920 x 1080: about 100 ms under Wine), and the frames grabbed meanwhile
// wait in the queue; once a grab has been refused because the queue was
// full, the frames are compressed at a lower quality for the rest of the
// recording. For that compressor quality trades only time for size: its key
// frames come out about 3% bigger in half the time or less. Lossy
// compressors keep the quality chosen.
#pragma once

#include <atomic>
#include <cstdint>

// 'ZMBV', the built-in lossless compressor's code.
constexpr uint32_t FourccZMBV =
    uint32_t('Z') | uint32_t('M') << 8 | uint32_t('B') << 16 | uint32_t('V') << 24;
// The lossless compressor's quality for key frames at zlib's level 6.
constexpr int HurriedZmbvQuality = 6100;

// Whether a handler code names the lossless compressor, in either case.
bool IsZmbvHandler(uint32_t fccHandler);

class KeyFramePace {
public:
    KeyFramePace(uint32_t handler, int quality);

    // The quality for the next frame.
    int Quality() const;
    // A grab was refused: the writing stage has fallen behind.
    void FellBehind();

private:
    const bool m_canHurry;
    const int m_quality;
    std::atomic<bool> m_hurried{false};  // set by the grabbing stage, read by the writing one
};
