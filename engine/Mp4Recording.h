// The choices of a recording made straight to MP4: the catalogue's entry
// for it, the H.264 encoder's settings, the film's time units and the
// output file's extension, which follows the container.
#pragma once

#include <cstdint>
#include <string>

#include "encode/H264Settings.h"

// The catalogue entry's handler code, 'BMP4': no compressor of the
// platform's, so that no installed one is ever taken for it.
constexpr uint32_t FourccH264Mp4 =
    uint32_t('B') | uint32_t('M') << 8 | uint32_t('P') << 16 | uint32_t('4') << 24;
constexpr const char* H264Mp4Name = "H.264 MP4 (for sharing)";

bool IsH264Mp4Handler(uint32_t fccHandler);

// VideoQuality 0 to 10000 as x264's constant quality: 10000 is 16 (hardly
// told from the screen), the default 8500 is 20, 5000 is 28 and 0 is 40;
// each 1000 of quality is about 2.4 steps, which a user can see.
int CrfForQuality(int videoQuality);

// The encoder's settings for a recording: the fastest preset that keeps a
// full HD frame loop on schedule on two cores, no frame held back, and a
// key frame at least every keyFrames frames.
H264Settings RecordingH264Settings(int videoQuality, int keyFrames);

// The video track's units: a position at playRate positions a second is
// this many of them.
constexpr uint32_t Mp4UnitsPerPosition = 1000;
inline uint32_t Mp4VideoTimescale(int playRate) {
    return uint32_t(playRate > 0 ? playRate : 1) * Mp4UnitsPerPosition;
}

// The name with the container's extension: ".avi" becomes ".mp4" for the
// MP4 entry and back for the others, whatever its case; any other name,
// and one without an extension, is left as it is.
std::string WithContainerExtension(const std::string& path, bool mp4);
