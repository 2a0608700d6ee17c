// Records an H.264 Annex B stream (no B-frames) and an ADTS AAC stream
// with our fragmented MP4 writer as the recorder does: video at positions
// of a 25-a-second clock with some positions skipped, sound interleaved by
// time, a commit whenever one is due on a clock that follows the film.
// Writes for the test's script:
//   EXPECTED_PACKETS: "position,K" or "position,_" for each picture;
//   EXPECTED_COMMITS: "flush pairStart fileEnd pictures soundFrames" after
//     each commit: the flush's number (OUT.mp4.flush is the file before
//     the pair became readable) and what the file then holds;
//   and last "pictures endPosition soundFrames" of the whole film.
// Usage: mp4_fragment_check IN.h264 IN.aac OUT.mp4 EXPECTED_PACKETS EXPECTED_COMMITS
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "mp4/AvcUnits.h"
#include "mp4/Mp4FragmentWriter.h"
#include "tests/support/PosixFile.h"
#include "tests/support/StreamTracks.h"

namespace {

constexpr uint32_t PositionsPerSecond = 25;

// Notes where the file ended at the last flush but one (the pair just
// flushed starts there: pairs go at the end) and where it ends now, and
// keeps a copy of the file as it stands at each flush (PATH.N for the
// Nth): what a crash during that commit leaves behind.
class WatchedFile : public PosixFile {
public:
    explicit WatchedFile(std::string path) : PosixFile(path), m_path(std::move(path)) {}
    bool WriteAt(uint64_t offset, const void* data, size_t size) override {
        m_end = std::max(m_end, offset + size);
        return PosixFile::WriteAt(offset, data, size);
    }
    bool FlushToDisk() override {
        ++flushes;
        pairStart = m_flushedEnd;
        m_flushedEnd = m_end;
        std::vector<uint8_t> bytes(m_end);
        std::ofstream copy(m_path + "." + std::to_string(flushes), std::ios::binary);
        return ReadAt(0, bytes.data(), bytes.size()) &&
               copy.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(m_end)) &&
               PosixFile::FlushToDisk();
    }
    uint64_t End() const { return m_end; }
    int flushes = 0;
    uint64_t pairStart = 0;

private:
    std::string m_path;
    uint64_t m_end = 0, m_flushedEnd = 0;
};

int Fail(const char* what) {
    std::fprintf(stderr, "mp4_fragment_check: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) return Fail("usage: IN.h264 IN.aac OUT.mp4 EXPECTED_PACKETS EXPECTED_COMMITS");
    AvcStream video;
    AdtsStream sound;
    if (!ParseAnnexBStream(LoadFile(argv[1]), video)) return Fail("the H.264 stream did not parse");
    if (!ParseAdtsStream(LoadFile(argv[2]), sound)) return Fail("the ADTS stream did not parse");
    const Mp4VideoTrack track = VideoTrackOf(video, 160, 120, PositionsPerSecond);
    const Mp4AudioTrack audio = AudioTrackOf(sound);
    WatchedFile file(argv[3]);
    uint64_t nowMs = 0;
    Mp4FragmentWriter writer(file, track, &audio, 500, [&] { return nowMs; });
    // The flush marks where the first pair starts.
    if (!file.Opened() || !writer.Open() || !file.FlushToDisk()) return Fail("Open failed");

    std::ofstream packets(argv[4]), commits(argv[5]);
    size_t soundSent = 0;
    uint64_t position = 0;
    std::vector<uint8_t> unit;
    for (size_t i = 0; i < video.units.size(); ++i, ++position) {
        if (i % 7 == 6) position += 1 + i % 3;  // the recorder fell behind
        nowMs = position * 1000 / PositionsPerSecond;
        for (;
             soundSent < sound.frames.size() && soundSent * 1024 * 1000 / audio.sampleRate <= nowMs;
             ++soundSent)
            if (!writer.WriteAudio(sound.frames[soundSent].data(), sound.frames[soundSent].size()))
                return Fail("WriteAudio failed");
        const AvcAccessUnit& u = video.units[i];
        if (!AnnexBToLengthPrefixed(u.bytes.data(), u.bytes.size(), unit))
            return Fail("a unit did not convert");
        const int flushes = file.flushes;
        // The sample before this one is complete once this one's time is known.
        if (!writer.WriteVideo(unit.data(), unit.size(), position, u.keyFrame) ||
            !writer.CommitIfDue())
            return Fail("WriteVideo or CommitIfDue failed");
        if (file.flushes != flushes)
            commits << file.flushes << " " << file.pairStart << " " << file.End() << " " << i << " "
                    << soundSent << "\n";
        packets << position << "," << (u.keyFrame ? "K" : "_") << "\n";
    }
    if (!writer.Close(position)) return Fail("Close failed");
    if (writer.VideoSamples() != video.units.size()) return Fail("VideoSamples miscounts");
    commits << video.units.size() << " " << position << " " << soundSent << "\n";
    return packets && commits ? 0 : Fail("cannot write the expected figures");
}
