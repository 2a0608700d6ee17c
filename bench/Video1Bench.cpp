// Speed, size and fidelity of our Video 1 encoder beside ffmpeg's msvideo1
// encoder, on the same screen-like frames. Usage: video1_bench WORK_DIR
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/FfmpegRun.h"
#include "bench/ScreenFrames.h"
#include "codecs/Video1Encoder.h"
#include "tests/support/Video1Decoder.h"

namespace {

constexpr int FrameCount = 60, Quality = 8500, KeyFrameEvery = 5;

struct Figures {
    double fps, bytesPerFrame, psnr;
};

using Frames = std::vector<std::vector<uint8_t>>;

double MeanSnr(const std::vector<std::vector<uint16_t>>& pictures, const Frames& frames, int w,
               int h) {
    if (pictures.size() != frames.size()) return 0;
    double sum = 0;
    for (size_t i = 0; i < frames.size(); ++i)
        sum += PictureSnr(pictures[i], frames[i].data(), w, h, 32);
    return sum / double(frames.size());
}

Figures RunOurs(const Frames& frames, int w, int h) {
    Video1Encoder encoder;
    encoder.Begin(w, h, 32, KeyFrameEvery);
    std::vector<std::vector<uint8_t>> streams(frames.size());
    std::vector<uint8_t> out(Video1Encoder::MaxFrameBytes(w, h));
    size_t bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i < frames.size(); ++i) {
        const Video1FrameResult r = encoder.Encode(frames[i].data(), Quality, false, out.data());
        streams[i].assign(out.begin(), out.begin() + long(r.size));
        bytes += r.size;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Video1Decoder decoder(w, h);
    std::vector<std::vector<uint16_t>> pictures;
    for (const auto& s : streams) {
        decoder.Decode(s.data(), s.size());
        pictures.push_back(decoder.Picture());
    }
    return {double(frames.size()) / seconds, double(bytes) / double(frames.size()),
            MeanSnr(pictures, frames, w, h)};
}

// ffmpeg reads the same DIB bytes as raw video (it sees them upside down,
// which changes nothing for either encoder: the 4x4 grid is the same).
Figures RunFfmpeg(const Frames& frames, int w, int h, const std::string& dir, double& codecFps) {
    const std::string raw = dir + "/frames.raw", avi = dir + "/ffmpeg.avi";
    {
        std::ofstream file(raw, std::ios::binary);
        for (const auto& f : frames)
            file.write(reinterpret_cast<const char*>(f.data()), long(f.size()));
    }
    const std::string input = "ffmpeg -v error -y -threads 1 -f rawvideo -pix_fmt bgr0 -s " +
                              std::to_string(w) + "x" + std::to_string(h) + " -r 30 -i '" + raw +
                              "'";
    const double total = TimedCommand(input + " -c:v msvideo1 -keyint_min 4 '" + avi + "'");
    const double readAndConvert = TimedCommand(input + " -pix_fmt rgb555le -f null -");
    codecFps = double(frames.size()) / (total - readAndConvert);
    const double bytes = double(VideoPacketBytes(avi));
    return {double(frames.size()) / total, bytes / double(frames.size()),
            MeanSnr(DecodeWithFfmpeg(avi, w, h), frames, w, h)};
}

void Compare(int w, int h, const std::string& dir) {
    Frames frames;
    for (int i = 0; i < FrameCount; ++i) frames.push_back(RenderScreenFrame(w, h, i));
    const Figures ours = RunOurs(frames, w, h);
    double ffmpegCodecFps = 0;
    const Figures ff = RunFfmpeg(frames, w, h, dir, ffmpegCodecFps);
    std::printf("%4dx%-4d  ours (quality %d)    %8.1f fps  %9.0f B/frame  %6.2f dB\n", w, h,
                Quality, ours.fps, ours.bytesPerFrame, ours.psnr);
    std::printf(
        "%4dx%-4d  ffmpeg msvideo1      %8.1f fps  %9.0f B/frame  %6.2f dB"
        "  (codec alone: %.1f fps)\n",
        w, h, ff.fps, ff.bytesPerFrame, ff.psnr, ffmpegCodecFps);
    std::printf(
        "           ours / ffmpeg: speed x%.1f (x%.1f against the codec alone), "
        "size x%.2f, PSNR %+.2f dB\n\n",
        ours.fps / ff.fps, ours.fps / ffmpegCodecFps, ours.bytesPerFrame / ff.bytesPerFrame,
        ours.psnr - ff.psnr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s WORK_DIR\n", argv[0]);
        return 2;
    }
    std::printf(
        "%d screen-like 32-bit frames per size, key frame every %d.\n"
        "ffmpeg: -c:v msvideo1 -keyint_min 4 (key frames at 0, 5, 10, ...; its only "
        "settings), input bgr0 converted to rgb555le by ffmpeg.\n"
        "PSNR: mean over frames, decoded picture against the 32-bit source.\n\n",
        FrameCount, KeyFrameEvery);
    Compare(1280, 720, argv[1]);
    Compare(1920, 1080, argv[1]);
    return 0;
}
