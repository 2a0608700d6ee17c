// Feeds our AVI writer, through the Windows file, a recording larger than
// any one RIFF part may be, as fast as it goes: numbered uncompressed
// frames at 10 a second of stream time, with sound blocks of 1/8 s put in
// between as the sound thread would deliver them. Modes:
//   record FILE.avi MIN_BYTES [WIDTH HEIGHT]
//                        writes until the chunks pass MIN_BYTES (the file,
//                        with its header and index, ends a little larger);
//                        prints the frames and their size, the sample frames,
//                        sound blocks and RIFF parts written, and the time
//                        it took
//   check FRAME.raw WIDTH HEIGHT
//                        prints the number a decoded top-down bgr24 frame
//                        shows; fails unless the whole picture is that frame's
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "avi/AviWriter.h"
#include "avi/WindowsOutputFile.h"
#include "tests/e2e/NumberedPicture.h"
#include "tests/e2e/RecordingStreams.h"

namespace {

constexpr uint32_t Rate = 10;

int WriterFailed(const AviWriter& writer, const char* what) {
    std::printf("%s failed: writer error %d, system error %u\n", what, int(writer.Error()),
                unsigned(writer.FileErrorCode()));
    return 1;
}

// The sound that has come in by the time position plays.
bool WriteDueSound(AviWriter& writer, SoundBlocks& sound, uint32_t position, uint64_t& fed) {
    while (sound.DueBy(position, Rate)) {
        const std::vector<uint8_t>& block = sound.Next();
        if (!writer.WriteAudio(block.data(), uint32_t(block.size()))) return false;
        fed += 8 + block.size();
    }
    return true;
}

int Record(const std::string& path, uint64_t minBytes, int width, int height) {
    WindowsOutputFile file(path);
    if (!file.Opened()) {
        std::printf("cannot create %s: system error %u\n", path.c_str(),
                    unsigned(file.ErrorCode()));
        return 1;
    }
    const AviAudioStream audio = PcmAudioStream();
    AviWriter writer(file, DibVideoStream(width, height, Rate), &audio);
    if (!writer.Open()) return WriterFailed(writer, "open");

    const NumberedPicture picture(width, height);
    std::vector<uint8_t> dib(DibFrameBytes(width, height));
    SoundBlocks sound;
    uint64_t fed = 0;  // chunk bytes handed over, headers included
    uint32_t frames = 0;
    const auto start = std::chrono::steady_clock::now();
    while (fed < minBytes) {
        if (!WriteDueSound(writer, sound, frames, fed)) return WriterFailed(writer, "sound");
        picture.RenderDib(frames, dib.data());
        if (!writer.WriteVideo(frames, dib.data(), uint32_t(dib.size()), true))
            return WriterFailed(writer, "frame");
        // As the recording thread does after every frame.
        if (!writer.CommitIfDue()) return WriterFailed(writer, "commit");
        fed += 8 + dib.size();
        ++frames;
    }
    // The sound up to the end of the last frame.
    if (!WriteDueSound(writer, sound, frames, fed)) return WriterFailed(writer, "sound");
    const int parts = writer.Parts();
    const uint32_t positions = writer.VideoPositions();
    if (!writer.Close()) return WriterFailed(writer, "close");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("frames %u\n", unsigned(frames));
    std::printf("frame bytes %zu\n", dib.size());
    std::printf("positions %u\n", unsigned(positions));
    std::printf("audio samples %llu\n", static_cast<unsigned long long>(sound.Samples()));
    std::printf("audio blocks %u\n", unsigned(sound.Blocks()));
    std::printf("parts %d\n", parts);
    std::printf("written in %.1f s, %.0f MB/s\n", seconds, double(fed) / seconds / 1e6);
    return 0;
}

int Check(const std::string& path, int width, int height) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> raw((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
    const NumberedPicture picture(width, height);
    if (raw.size() != picture.TopDownBytes()) {
        std::printf("%s holds %zu bytes, not one %d x %d frame\n", path.c_str(), raw.size(), width,
                    height);
        return 1;
    }
    const uint32_t number = picture.ReadNumber(raw.data());
    std::printf("frame %u\n", unsigned(number));
    const int row = picture.FirstDifferentRow(number, raw.data());
    if (row < 0) return 0;
    std::printf("but row %d differs from that frame's\n", row);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "record" && (argc == 4 || argc == 6))
        return Record(argv[2], std::strtoull(argv[3], nullptr, 10),
                      argc == 6 ? std::atoi(argv[4]) : 1280, argc == 6 ? std::atoi(argv[5]) : 720);
    if (mode == "check" && argc == 5) return Check(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    std::fprintf(stderr,
                 "usage: big_recording record FILE.avi MIN_BYTES [WIDTH HEIGHT]\n"
                 "       big_recording check FRAME.raw WIDTH HEIGHT\n");
    return 2;
}
