#include "bench/CodecRuns.h"

#include <algorithm>
#include <chrono>

#include "avi/AviWriter.h"
#include "avi/RiffBytes.h"
#include "bench/FfmpegRun.h"
#include "codecs/Video1Encoder.h"
#include "codecs/ZmbvDecoder.h"
#include "codecs/ZmbvEncoder.h"
#include "tests/support/MemoryFile.h"
#include "tests/support/Video1Decoder.h"

namespace {

using Clock = std::chrono::steady_clock;
using Streams = std::vector<std::vector<uint8_t>>;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// An AVI of the stream, as the program would write it.
bool SaveAvi(const Streams& streams, const std::vector<bool>& keys, uint32_t compression,
             uint16_t bitCount, int w, int h, const std::string& path) {
    RiffBytes format;  // BITMAPINFOHEADER
    format.U32(40);
    format.U32(uint32_t(w));
    format.U32(uint32_t(h));
    format.U16(1);
    format.U16(bitCount);
    format.U32(compression);
    format.U32(uint32_t(w) * uint32_t(h) * 4);
    format.Zeros(16);
    AviVideoStream video;
    video.handler = compression;
    video.format = format.Data();
    MemoryFile file;
    AviWriter writer(file, video, nullptr);
    bool ok = writer.Open();
    for (size_t i = 0; ok && i < streams.size(); ++i)
        ok = writer.WriteVideo(uint32_t(i), streams[i].data(), uint32_t(streams[i].size()), keys[i]);
    return ok && writer.Close() && file.SaveTo(path);
}

// Whether ffmpeg decodes the file to exactly the frames (blue, green, red).
bool DecodesExactly(const std::string& avi, const BenchFrames& frames) {
    const std::string raw = CommandOutput("ffmpeg -v error -i '" + avi + "' -f rawvideo -pix_fmt bgra -");
    const size_t frameBytes = size_t(frames.width) * frames.height * 4;
    if (raw.size() != frameBytes * frames.frames.size()) return false;
    for (size_t f = 0; f < frames.frames.size(); ++f) {
        const std::vector<uint8_t> shown = TopDown(frames.frames[f], frames.width, frames.height);
        for (size_t i = 0; i < frameBytes; ++i)
            if (i % 4 != 3 && uint8_t(raw[f * frameBytes + i]) != shown[i]) return false;
    }
    return true;
}

// Mean PSNR of 15-bit pictures (rows as in the frames' DIBs) against the frames.
double MeanSnr(const std::vector<std::vector<uint16_t>>& pictures, const BenchFrames& frames) {
    if (pictures.size() != frames.frames.size() || pictures.empty()) return 0;
    double sum = 0;
    for (size_t i = 0; i < pictures.size(); ++i)
        sum += PictureSnr(pictures[i], frames.frames[i].data(), frames.width, frames.height, 32);
    return sum / double(pictures.size());
}

std::vector<uint16_t> FlipRows(const std::vector<uint16_t>& picture, int w, int h) {
    std::vector<uint16_t> flipped(picture.size());
    for (int y = 0; y < h; ++y)
        std::copy_n(picture.begin() + long(size_t(h - 1 - y) * w), w,
                    flipped.begin() + long(size_t(y) * w));
    return flipped;
}

// ffmpeg's time for the encoder alone: the whole run less reading the frames.
RunFigures RunFfmpeg(const BenchFrames& frames, const std::string& raw, const std::string& avi,
                     const std::string& codec, const std::string& convertTo) {
    const std::string input = "ffmpeg -v error -y -threads 1 -f rawvideo -pix_fmt bgra -s " +
                              std::to_string(frames.width) + "x" +
                              std::to_string(frames.height) + " -r 10 -i '" + raw + "'";
    const double total = TimedCommand(input + " " + codec + " '" + avi + "'");
    const double reading = TimedCommand(input + " -pix_fmt " + convertTo + " -f null -");
    RunFigures r;
    r.fps = double(frames.frames.size()) / (total - reading);
    r.bytes = VideoPacketBytes(avi);
    return r;
}

// Frames per second of our decoder over the streams.
double OursDecodeFps(const Streams& streams, int w, int h) {
    ZmbvDecoder decoder;
    decoder.Begin(w, h);
    const auto start = Clock::now();
    for (const auto& s : streams) decoder.Decode(s.data(), s.size());
    return double(streams.size()) / Seconds(start);
}

}  // namespace

double FfmpegZmbvDecodeFps(const std::string& avi, size_t frames) {
    const std::string input = "ffmpeg -v error -threads 1 -i '" + avi + "' ";
    const double total = TimedCommand(input + "-f null -");
    const double reading = TimedCommand(input + "-c copy -f null -");
    return double(frames) / (total - reading);
}

RunFigures RunOursZmbv(const BenchFrames& frames, const std::string& avi) {
    const int w = frames.width, h = frames.height;
    ZmbvEncoder encoder;
    Streams streams(frames.frames.size());
    std::vector<bool> keys(streams.size());
    encoder.Begin(w, h, 32, ZmbvEncoder::DefaultLevel);
    const ptrdiff_t stride = ptrdiff_t(w) * 4;
    const auto start = Clock::now();
    for (size_t i = 0; i < streams.size(); ++i) {
        keys[i] = i % BenchKeyFrameEvery == 0;
        const uint8_t* top = frames.frames[i].data() + size_t(h - 1) * size_t(stride);
        encoder.Encode(top, -stride, keys[i], streams[i]);
    }
    RunFigures r;
    r.fps = double(streams.size()) / Seconds(start);
    for (const auto& s : streams) r.bytes += s.size();
    r.lossless = SaveAvi(streams, keys, Fourcc("ZMBV"), 32, w, h, avi) && DecodesExactly(avi, frames);
    r.decodeFps = OursDecodeFps(streams, w, h);
    return r;
}

RunFigures RunOursVideo1(const BenchFrames& frames, const std::string& avi) {
    const int w = frames.width, h = frames.height;
    Video1Encoder encoder;
    encoder.Begin(w, h, 32, BenchKeyFrameEvery);
    Streams streams(frames.frames.size());
    std::vector<bool> keys(streams.size());
    std::vector<uint8_t> out(Video1Encoder::MaxFrameBytes(w, h));
    const auto start = Clock::now();
    for (size_t i = 0; i < streams.size(); ++i) {
        const Video1FrameResult f = encoder.Encode(frames.frames[i].data(), BenchQuality, false, out.data());
        streams[i].assign(out.begin(), out.begin() + long(f.size));
        keys[i] = f.keyFrame;
    }
    RunFigures r;
    r.fps = double(streams.size()) / Seconds(start);
    Video1Decoder decoder(w, h);
    std::vector<std::vector<uint16_t>> pictures;
    for (const auto& s : streams) {
        r.bytes += s.size();
        decoder.Decode(s.data(), s.size());
        pictures.push_back(decoder.Picture());
    }
    r.psnr = MeanSnr(pictures, frames);
    SaveAvi(streams, keys, Fourcc("CRAM"), 16, w, h, avi);
    return r;
}

RunFigures RunFfmpegZmbv(const BenchFrames& frames, const std::string& raw, const std::string& avi) {
    // Its key-frame spacing follows -keyint_min, not -g.
    const std::string every = std::to_string(BenchKeyFrameEvery);
    RunFigures r = RunFfmpeg(frames, raw, avi,
                             "-c:v zmbv -pix_fmt bgr0 -g " + every + " -keyint_min " + every, "bgr0");
    r.lossless = DecodesExactly(avi, frames);
    return r;
}

RunFigures RunFfmpegVideo1(const BenchFrames& frames, const std::string& raw,
                           const std::string& avi) {
    // Its only control of key frames: at most this far apart.
    RunFigures r = RunFfmpeg(frames, raw, avi, "-c:v msvideo1 -keyint_min 4", "rgb555le");
    std::vector<std::vector<uint16_t>> pictures = DecodeWithFfmpeg(avi, frames.width, frames.height);
    for (auto& p : pictures) p = FlipRows(p, frames.width, frames.height);
    r.psnr = MeanSnr(pictures, frames);
    return r;
}
