// One encoder over a benchmark's frames: its speed, the bytes it wrote, and
// how true its decoded pictures are (lossless, or the PSNR of a lossy one).
#pragma once

#include <cstdint>
#include <string>

#include "bench/BenchFrames.h"

struct RunFigures {
    double fps = 0;  // the encoder alone
    uint64_t bytes = 0;
    bool lossless = false;
    double psnr = 0;
    double decodeFps = 0;  // our ZMBV decoder on our stream, one core
};

constexpr int BenchQuality = 8500, BenchKeyFrameEvery = 5;  // the program's defaults

// ffmpeg's ZMBV decoder on the file, one thread; its start and reading the
// file are left out.
double FfmpegZmbvDecodeFps(const std::string& avi, size_t frames);

// Our encoders; each stream is left as an AVI file at `avi`.
RunFigures RunOursZmbv(const BenchFrames& frames, const std::string& avi);
RunFigures RunOursVideo1(const BenchFrames& frames, const std::string& avi);
// ffmpeg's zmbv and msvideo1 on the same frames, from the raw file `raw`
// (WriteTopDownRaw); their time reading the frames is left out.
RunFigures RunFfmpegZmbv(const BenchFrames& frames, const std::string& raw, const std::string& avi);
RunFigures RunFfmpegVideo1(const BenchFrames& frames, const std::string& raw,
                           const std::string& avi);
