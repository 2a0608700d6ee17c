// What our AVI writer adds to each frame of a 1920 x 1080 recording with
// sound: the time WriteVideo takes, and apart the commit that the recording
// thread asks for after each frame (its disk flush included), for frames of compressed sizes (100 KB, 1 MB) and uncompressed
// ones (6 MB), at 10 and 30 frames a second, the sound blocks of 1/8 s put
// in between as the sound thread delivers them. Frames are handed over in
// real time, as in a recording, so that the system writes back in the
// background between them as it would then. Every case runs with the disk
// flush at most twice a second (the default) and with none; the flush at
// Close is timed apart, and a frame handed over late (the writer not keeping
// up) shows in the last column. The header claims uncompressed frames whatever
// their size: nothing reads the files, each is deleted after its case.
// Usage: writer_bench WORK_DIR [FRAMES]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "avi/AviWriter.h"
#include "avi/WindowsOutputFile.h"
#include "bench/TimedFile.h"
#include "tests/e2e/RecordingStreams.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Width = 1920, Height = 1080;
constexpr uint32_t NoDiskFlush = 0xFFFFFFFFu;

struct Case {
    uint32_t frameBytes, rate, diskFlushMs;
};

struct Figures {
    std::vector<double> videoMs, commitMs, audioMs, flushMs;
    double closeMs = 0, lateMs = 0;  // the latest start of a frame past its time
};

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Median, 95th percentile and maximum, in that order.
std::vector<double> Spread(std::vector<double> v) {
    if (v.empty()) return {0, 0, 0};
    std::sort(v.begin(), v.end());
    const size_t p95 = (v.size() * 95 + 99) / 100 - 1;
    return {v[v.size() / 2], v[p95], v.back()};
}

// The sound that has come in by the time position plays, each call timed.
bool WriteDueSound(AviWriter& writer, SoundBlocks& sound, uint32_t position, uint32_t rate,
                   std::vector<double>& ms) {
    while (sound.DueBy(position, rate)) {
        const std::vector<uint8_t>& block = sound.Next();
        const auto start = Clock::now();
        if (!writer.WriteAudio(block.data(), uint32_t(block.size()))) return false;
        ms.push_back(Ms(start));
    }
    return true;
}

bool Run(const std::string& path, const Case& c, uint32_t frames,
         const std::vector<uint8_t>& pixels, Figures& out) {
    WindowsOutputFile windowsFile(path);
    TimedFile file(windowsFile);
    AviWriterLimits limits;
    limits.diskFlushMs = c.diskFlushMs;
    const AviAudioStream audio = PcmAudioStream();
    AviWriter writer(file, DibVideoStream(Width, Height, c.rate), &audio, limits);
    if (!windowsFile.Opened() || !writer.Open()) return false;
    std::vector<uint8_t> frame(pixels.begin(), pixels.begin() + c.frameBytes);
    SoundBlocks sound;
    const auto start = Clock::now();
    for (uint32_t n = 0; n < frames; ++n) {
        const auto due = start + std::chrono::microseconds(1000000ull * n / c.rate);
        std::this_thread::sleep_until(due);
        out.lateMs = std::max(out.lateMs, Ms(due));
        if (!WriteDueSound(writer, sound, n, c.rate, out.audioMs)) return false;
        frame[0] = uint8_t(n);  // no two frames alike
        const auto t = Clock::now();
        if (!writer.WriteVideo(n, frame.data(), c.frameBytes, n % 10 == 0)) return false;
        out.videoMs.push_back(Ms(t));
        // The recording thread's commit after every frame, with its disk flush.
        const auto c0 = Clock::now();
        if (!writer.CommitIfDue()) return false;
        out.commitMs.push_back(Ms(c0));
    }
    out.flushMs = file.flushMs;
    const auto closing = Clock::now();
    const bool closed = writer.Close();
    out.closeMs = Ms(closing);
    return closed;
}

void PrintHeading() {
    std::printf("%-9s %3s %-8s | %-22s | %-22s | %-10s | %-24s | %8s | %s\n", "frame", "fps",
                "flush", "WriteVideo ms", "CommitIfDue ms", "WriteAudio", "FlushToDisk", "Close",
                "late");
    std::printf("%-9s %3s %-8s | %6s %7s %7s | %6s %7s %7s | %-10s | %4s %5s %6s %7s | %8s | %s\n",
                "bytes", "", "", "median", "p95", "max", "median", "p95", "max", "max ms", "runs",
                "per s", "median", "max ms", "ms", "max ms");
}

void PrintLine(const Case& c, uint32_t frames, const Figures& f) {
    const std::vector<double> video = Spread(f.videoMs), commit = Spread(f.commitMs),
                              audio = Spread(f.audioMs), flush = Spread(f.flushMs);
    const double streamSeconds = double(frames) / c.rate;
    const std::string policy =
        c.diskFlushMs == NoDiskFlush ? "none" : std::to_string(c.diskFlushMs) + " ms";
    std::printf(
        "%-9u %3u %-8s | %6.2f %7.2f %7.2f | %6.2f %7.2f %7.2f | %10.2f | %4zu %5.2f %6.1f %7.1f "
        "| %8.1f | %.1f\n",
        unsigned(c.frameBytes), unsigned(c.rate), policy.c_str(), video[0], video[1], video[2],
        commit[0], commit[1], commit[2], audio[2], f.flushMs.size(), double(f.flushMs.size()) / streamSeconds, flush[0], flush[2],
        f.closeMs, f.lateMs);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: writer_bench WORK_DIR [FRAMES]\n");
        return 2;
    }
    const std::string path = std::string(argv[1]) + "\\writer_bench.avi";
    const uint32_t frames = argc > 2 ? uint32_t(std::atoi(argv[2])) : 600;
    const uint32_t uncompressed = DibFrameBytes(Width, Height);
    std::vector<uint8_t> pixels(uncompressed);
    uint32_t seed = 1;
    for (uint8_t& b : pixels) b = uint8_t((seed = seed * 1664525u + 1013904223u) >> 24);

    std::printf("%u frames of %d x %d a case, handed over in real time\n", unsigned(frames), Width,
                Height);
    PrintHeading();
    for (uint32_t flush : {AviWriterLimits().diskFlushMs, NoDiskFlush})
        for (uint32_t bytes : {100u * 1000, 1000u * 1000, uncompressed})
            for (uint32_t rate : {10u, 30u}) {
                const Case c{bytes, rate, flush};
                Figures figures;
                const bool ok = Run(path, c, frames, pixels, figures);
                DeleteFileA(path.c_str());
                if (!ok) {
                    std::printf("the writer failed at %u bytes, %u fps\n", unsigned(bytes),
                                unsigned(rate));
                    return 1;
                }
                PrintLine(c, frames, figures);
            }
    return 0;
}
