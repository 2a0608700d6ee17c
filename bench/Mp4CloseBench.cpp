// How long our MP4 writer's Close takes on this disk for a film of about
// 2 GB (1920 x 1080 frames of 700 KB at 30 a second with sound): once with
// the index room estimated for the film (nothing moves) and once with a
// room far too small (the media data moves forward). Each file is deleted after
// its case. The move's reads may come from the page cache, as they do
// right after a conversion.
// Usage: mp4_close_bench WORK_DIR [MEGABYTES]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "mp4/Mp4Layout.h"
#include "mp4/Mp4Writer.h"
#include "tests/support/PosixFile.h"

namespace {

constexpr size_t FrameBytes = 700 * 1000;
constexpr uint32_t FrameMs = 33;
constexpr uint64_t SmallRoom = 1024;  // far from enough: the media data moves
const std::vector<uint8_t> Sps = {0x67, 0x64, 0x00, 0x28, 0xAC, 0xD9,
                                  0x40, 0x78, 0x02, 0x27, 0xE5, 0x84};
const std::vector<uint8_t> Pps = {0x68, 0xEB, 0xE3, 0xCB, 0x22, 0xC0};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

bool RunCase(const std::string& path, uint64_t megabytes, bool estimatedRoom) {
    const uint32_t frames = uint32_t(megabytes * 1000000 / FrameBytes);
    Mp4VideoTrack video;
    video.width = 1920;
    video.height = 1080;
    video.sps = Sps;
    video.pps = Pps;
    Mp4AudioTrack audio;
    audio.audioSpecificConfig = {0x11, 0x90};
    Mp4WriterLimits limits;
    limits.indexRoom =
        estimatedRoom ? Mp4IndexRoomFor(frames * FrameMs / 1000.0, 30, 48000) : SmallRoom;
    PosixFile file(path);
    Mp4Writer writer(file, video, &audio, limits);
    std::vector<uint8_t> frame(FrameBytes, 0x5A), sound(400, 0x21);
    const uint32_t length = uint32_t(FrameBytes - 4);
    for (int k = 0; k < 4; ++k) frame[size_t(k)] = uint8_t(length >> (24 - 8 * k));
    frame[4] = 0x65;
    bool ok = file.Opened() && writer.Open();
    const auto writing = std::chrono::steady_clock::now();
    uint64_t soundFrames = 0;
    for (uint32_t i = 0; ok && i < frames; ++i) {
        while (ok && soundFrames * 1024 * 1000 / 48000 <= uint64_t(i) * FrameMs)
            ok = writer.WriteAudio(sound.data(), sound.size()) && ++soundFrames;
        ok = ok && writer.WriteVideo(frame.data(), frame.size(), FrameMs, i % 250 == 0);
    }
    ok = ok && file.FlushToDisk();  // the film on the disk before Close is timed
    const double writeSeconds = Seconds(writing);
    const auto closing = std::chrono::steady_clock::now();
    ok = ok && writer.Close();
    const double closeSeconds = Seconds(closing);
    std::printf("%-22s %8.0f MB %10.1f s %9.2f s %12llu\n",
                estimatedRoom ? "room for the film" : "small room (moves)",
                writer.MediaBytes() / 1e6, writeSeconds, closeSeconds,
                static_cast<unsigned long long>(writer.DataStart()));
    unlink(path.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: mp4_close_bench WORK_DIR [MEGABYTES]\n");
        return 2;
    }
    const uint64_t megabytes = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 2048;
    std::printf("%-22s %11s %12s %11s %12s\n", "case", "media", "write", "Close", "data at");
    const std::string path = std::string(argv[1]) + "/mp4_close_bench.mp4";
    return RunCase(path, megabytes, true) && RunCase(path, megabytes, false) ? 0 : 1;
}
