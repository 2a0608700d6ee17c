// numbered_frames: checks pictures of numbered_window cut from a film.
// Usage: numbered_frames FRAMES.raw WIDTH HEIGHT
// FRAMES.raw holds whole top-down bgr24 frames, as ffmpeg writes them. Each
// must be, to the byte, the NumberedPicture frame whose number it shows, and
// the numbers may not go back. Prints the frames, the first and the last
// number and how many numbers were seen; exits 1 at the first frame that
// fails, saying why.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

#include "tests/e2e/NumberedPicture.h"

namespace {

int Check(FILE* in, const NumberedPicture& picture) {
    std::vector<uint8_t> frame(picture.TopDownBytes());
    std::set<uint32_t> seen;
    uint32_t first = 0, last = 0;
    int count = 0;
    for (; std::fread(frame.data(), 1, frame.size(), in) == frame.size(); ++count) {
        const uint32_t number = picture.ReadNumber(frame.data());
        const int row = picture.FirstDifferentRow(number, frame.data());
        if (row >= 0) {
            std::printf("frame %d shows number %u, but its row %d differs\n", count, number, row);
            return 1;
        }
        if (count > 0 && number < last) {
            std::printf("frame %d shows number %u after %u\n", count, number, last);
            return 1;
        }
        if (count == 0) first = number;
        last = number;
        seen.insert(number);
    }
    std::printf("frames %d, numbers %u to %u, %zu of them\n", count, first, last, seen.size());
    return count > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: numbered_frames FRAMES.raw WIDTH HEIGHT\n");
        return 2;
    }
    FILE* in = std::fopen(argv[1], "rb");
    if (!in) {
        std::printf("cannot open %s\n", argv[1]);
        return 1;
    }
    const int result = Check(in, NumberedPicture(std::atoi(argv[2]), std::atoi(argv[3])));
    std::fclose(in);
    return result;
}
