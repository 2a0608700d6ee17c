// How long our fragmented MP4 writer's Close takes after a one-hour
// recording: a second of real H.264 (ten pictures, the first a key frame)
// and of AAC repeated for an hour, ten positions a second, a commit every
// half second of film. Prints the writing and Close times and the file's size.
// Usage: mp4_fragment_bench IN.h264 IN.aac OUT.mp4
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

#include "mp4/AvcUnits.h"
#include "mp4/Mp4FragmentWriter.h"
#include "tests/support/PosixFile.h"
#include "tests/support/StreamTracks.h"

namespace {

constexpr uint64_t Seconds = 3600, PositionsPerSecond = 10;

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    AvcStream video;
    AdtsStream sound;
    if (argc != 4 || !ParseAnnexBStream(LoadFile(argv[1]), video) ||
        !ParseAdtsStream(LoadFile(argv[2]), sound) || video.units.size() < PositionsPerSecond) {
        std::fprintf(stderr,
                     "usage: mp4_fragment_bench IN.h264 IN.aac OUT.mp4 (a second of film)\n");
        return 2;
    }
    std::vector<std::vector<uint8_t>> units(PositionsPerSecond);
    for (size_t i = 0; i < units.size(); ++i)
        AnnexBToLengthPrefixed(video.units[i].bytes.data(), video.units[i].bytes.size(), units[i]);
    const Mp4VideoTrack track = VideoTrackOf(video, 320, 240, PositionsPerSecond);
    const Mp4AudioTrack audio = AudioTrackOf(sound);
    PosixFile file(argv[3]);
    uint64_t nowMs = 0;
    Mp4FragmentWriter writer(file, track, &audio, 500, [&] { return nowMs; });
    bool ok = file.Opened() && writer.Open();
    const auto writing = std::chrono::steady_clock::now();
    uint64_t soundSent = 0;
    for (uint64_t p = 0; ok && p < Seconds * PositionsPerSecond; ++p) {
        nowMs = p * 1000 / PositionsPerSecond;
        for (; ok && soundSent * 1024 * 1000 / audio.sampleRate <= nowMs; ++soundSent) {
            const std::vector<uint8_t>& f = sound.frames[soundSent % sound.frames.size()];
            ok = writer.WriteAudio(f.data(), f.size());
        }
        const size_t k = size_t(p % PositionsPerSecond);
        ok = ok && writer.WriteVideo(units[k].data(), units[k].size(), p, k == 0) &&
             writer.CommitIfDue();
    }
    const double writeSeconds = Since(writing);
    const auto closing = std::chrono::steady_clock::now();
    ok = ok && writer.Close(Seconds * PositionsPerSecond);
    std::printf("%llu pictures, %.1f MB: written in %.2f s, Close %.1f ms\n",
                static_cast<unsigned long long>(writer.VideoSamples()),
                double(std::ifstream(argv[3], std::ios::ate | std::ios::binary).tellg()) / 1e6,
                writeSeconds, Since(closing) * 1000);
    return ok ? 0 : 1;
}
