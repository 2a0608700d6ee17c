// Muxes an H.264 Annex B stream and an ADTS AAC stream with our MP4 writer,
// with uneven frame durations and the composition offsets that the
// pictures' order asks for, then reads the file back with the strict box
// reader. Writes the times each picture must show at (milliseconds, in
// showing order) and "frames milliseconds soundFrames" for the test's
// script, which asks ffmpeg and ffprobe about the file.
// Usage: mp4_mux_check IN.h264 IN.aac OUT.mp4 EXPECTED_TIMES EXPECTED_TOTALS
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "mp4/Mp4Writer.h"
#include "tests/support/AdtsStream.h"
#include "tests/support/AnnexBStream.h"
#include "tests/support/Mp4BoxReader.h"
#include "tests/support/PosixFile.h"
#include "tests/support/StreamTracks.h"

namespace {

// Each picture's place in showing order: by picture order within the run
// from one IDR picture to the next.
std::vector<size_t> ShowingOrder(const AvcStream& v) {
    std::vector<size_t> order(v.units.size());
    size_t run = 0;
    while (run < v.units.size()) {
        size_t end = run + 1;
        while (end < v.units.size() && !v.units[end].keyFrame) ++end;
        std::vector<size_t> decode;
        for (size_t i = run; i < end; ++i) decode.push_back(i);
        std::sort(decode.begin(), decode.end(), [&](size_t a, size_t b) {
            return v.units[a].pictureOrder < v.units[b].pictureOrder;
        });
        for (size_t k = 0; k < decode.size(); ++k) order[decode[k]] = run + k;
        run = end;
    }
    return order;
}

int Fail(const char* what) {
    std::fprintf(stderr, "mp4_mux_check: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) return Fail("usage: IN.h264 IN.aac OUT.mp4 EXPECTED_TIMES EXPECTED_TOTALS");
    AvcStream video;
    AdtsStream sound;
    if (!ParseAnnexBStream(LoadFile(argv[1]), video)) return Fail("the H.264 stream did not parse");
    if (!ParseAdtsStream(LoadFile(argv[2]), sound)) return Fail("the ADTS stream did not parse");

    // Showing times with uneven durations; decoding times follow the same
    // steps, shifted so that no picture shows before it is decoded.
    const size_t n = video.units.size();
    const std::vector<size_t> order = ShowingOrder(video);
    std::vector<int64_t> shown(n + 1, 0);  // by showing place
    for (size_t k = 0; k < n; ++k) shown[k + 1] = shown[k] + 30 + int64_t(k * 17 % 41);
    int64_t shift = 0;
    for (size_t i = 0; i < n; ++i) shift = std::max(shift, shown[i] - shown[order[i]]);

    const Mp4VideoTrack track = VideoTrackOf(video, 322, 242, 1000);
    const Mp4AudioTrack audio = AudioTrackOf(sound);
    PosixFile file(argv[3]);
    if (!file.Opened()) return Fail("cannot create the output");
    Mp4Writer writer(file, track, &audio);
    if (!writer.Open()) return Fail("Open failed");
    size_t soundSent = 0;
    for (size_t i = 0; i < n; ++i) {
        const int64_t decoded = shown[i] - shift;
        for (; soundSent < sound.frames.size() &&
               int64_t(soundSent) * 1024 * 1000 / sound.sampleRate <= decoded;
             ++soundSent)
            if (!writer.WriteAudio(sound.frames[soundSent].data(), sound.frames[soundSent].size()))
                return Fail("WriteAudio failed");
        const AvcAccessUnit& u = video.units[i];
        if (!writer.WriteVideo(u.bytes.data(), u.bytes.size(), uint32_t(shown[i + 1] - shown[i]),
                               u.keyFrame, int32_t(shown[order[i]] - decoded)))
            return Fail("WriteVideo failed");
    }
    for (; soundSent < sound.frames.size(); ++soundSent)
        if (!writer.WriteAudio(sound.frames[soundSent].data(), sound.frames[soundSent].size()))
            return Fail("WriteAudio failed");
    if (!writer.Close()) return Fail("Close failed");

    struct stat st {};
    if (stat(argv[3], &st) != 0) return Fail("no output");
    const Mp4FileLayout layout = ReadMp4Layout(file, uint64_t(st.st_size));
    for (const std::string& p : layout.problems)
        std::fprintf(stderr, "mp4_mux_check: %s\n", p.c_str());
    if (!layout.problems.empty()) return 1;

    std::ofstream times(argv[4]);
    for (size_t k = 0; k < n; ++k) times << shown[k] << "\n";
    std::ofstream totals(argv[5]);
    totals << n << " " << shown[n] << " " << sound.frames.size() << "\n";
    return times && totals ? 0 : Fail("cannot write the expected figures");
}
