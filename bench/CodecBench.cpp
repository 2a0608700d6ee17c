// Speed, size and truth of our built-in encoders beside ffmpeg's zmbv and
// msvideo1 on the same frames, at the program's defaults (quality 8500, a
// key frame every 5), one core each.
// Usage: codec_bench WORK_DIR [--frames FILE.raw WxH] [--keep DIR]
//   FILE.raw: top-down BGRA frames (ffmpeg -f rawvideo -pix_fmt bgra);
//   without it, drawn screen-like frames at 1280x720 and 1920x1080.
//   --keep DIR: our streams stay there as AVI files.
#include <cstdio>
#include <cstring>
#include <string>

#include "bench/BenchFrames.h"
#include "bench/CodecRuns.h"

namespace {

constexpr int SyntheticFrameCount = 60;

void PrintLine(const char* name, const RunFigures& r, bool lossy) {
    std::printf("%s fps=%.1f bytes=%llu ", name, r.fps, static_cast<unsigned long long>(r.bytes));
    if (lossy)
        std::printf("psnr=%.2f\n", r.psnr);
    else
        std::printf("lossless=%s\n", r.lossless ? "yes" : "no");
    std::fflush(stdout);
}

void Compare(const BenchFrames& frames, const std::string& work, const std::string& keep,
             const char* source) {
    const std::string size = std::to_string(frames.width) + "x" + std::to_string(frames.height);
    std::printf("%s, %zu frames (%s)\n", size.c_str(), frames.frames.size(), source);
    const std::string ours = keep.empty() ? work : keep;
    const std::string oursZmbv = ours + "/ours-zmbv-" + size + ".avi";
    const RunFigures zmbv = RunOursZmbv(frames, oursZmbv);
    PrintLine("ours-zmbv", zmbv, false);
    std::printf("zmbv-decoder fps ours=%.1f ffmpeg=%.1f (our stream, one core)\n", zmbv.decodeFps,
                FfmpegZmbvDecodeFps(oursZmbv, frames.frames.size()));
    PrintLine("ours-video1", RunOursVideo1(frames, ours + "/ours-video1-" + size + ".avi"), true);
    const std::string raw = work + "/frames.raw";
    if (!WriteTopDownRaw(frames, raw)) return;
    PrintLine("ffmpeg-zmbv", RunFfmpegZmbv(frames, raw, work + "/ffmpeg-zmbv.avi"), false);
    PrintLine("ffmpeg-msvideo1", RunFfmpegVideo1(frames, raw, work + "/ffmpeg-msvideo1.avi"),
              true);
    std::remove(raw.c_str());
    std::printf("\n");
}

bool ParseSize(const char* text, int& width, int& height) {
    return std::sscanf(text, "%dx%d", &width, &height) == 2 && width > 0 && height > 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s WORK_DIR [--frames FILE.raw WxH] [--keep DIR]\n", argv[0]);
        return 2;
    }
    const std::string work = argv[1];
    std::string raw, keep;
    int width = 0, height = 0;
    for (int i = 2; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--frames") && i + 2 < argc && ParseSize(argv[i + 2], width, height)) {
            raw = argv[i + 1];
            i += 2;
        } else if (!std::strcmp(argv[i], "--keep") && i + 1 < argc) {
            keep = argv[++i];
        } else {
            std::fprintf(stderr, "unknown argument: %s\n", argv[i]);
            return 2;
        }
    }
    std::printf("Quality %d, a key frame every %d; fps is the encoder alone, one core.\n\n",
                BenchQuality, BenchKeyFrameEvery);
    if (!raw.empty()) {
        BenchFrames frames;
        if (!ReadRawFrames(raw, width, height, frames)) {
            std::fprintf(stderr, "cannot read frames of %dx%d from %s\n", width, height,
                         raw.c_str());
            return 1;
        }
        Compare(frames, work, keep, raw.c_str());
        return 0;
    }
    Compare(SyntheticFrames(1280, 720, SyntheticFrameCount), work, keep, "drawn");
    Compare(SyntheticFrames(1920, 1080, SyntheticFrameCount), work, keep, "drawn");
    return 0;
}
