// The MP4 writers' track descriptions of streams that ffmpeg made, for the
// host checks and benchmarks that record them.
#pragma once

#include <cstdint>
#include <vector>

#include "mp4/Mp4Tracks.h"
#include "tests/support/AdtsStream.h"
#include "tests/support/AnnexBStream.h"

std::vector<uint8_t> LoadFile(const char* path);
Mp4VideoTrack VideoTrackOf(const AvcStream& stream, uint32_t width, uint32_t height,
                           uint32_t timescale);
Mp4AudioTrack AudioTrackOf(const AdtsStream& stream);
