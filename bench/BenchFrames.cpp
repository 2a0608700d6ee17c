#include "bench/BenchFrames.h"

#include <algorithm>
#include <fstream>

#include "bench/ScreenFrames.h"

bool ReadRawFrames(const std::string& path, int width, int height, BenchFrames& out) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    out = BenchFrames{width, height, {}};
    std::vector<uint8_t> topDown(size_t(width) * height * 4);
    while (file.read(reinterpret_cast<char*>(topDown.data()), long(topDown.size())))
        out.frames.push_back(TopDown(topDown, width, height));  // flipping is its own inverse
    return !out.frames.empty();
}

BenchFrames SyntheticFrames(int width, int height, int count) {
    BenchFrames out{width, height, {}};
    for (int i = 0; i < count; ++i) out.frames.push_back(RenderScreenFrame(width, height, i));
    return out;
}

std::vector<uint8_t> TopDown(const std::vector<uint8_t>& frame, int width, int height) {
    const size_t row = size_t(width) * 4;
    std::vector<uint8_t> flipped(frame.size());
    for (int y = 0; y < height; ++y)
        std::copy_n(frame.begin() + long(size_t(height - 1 - y) * row), row,
                    flipped.begin() + long(size_t(y) * row));
    return flipped;
}

bool WriteTopDownRaw(const BenchFrames& frames, const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    for (const auto& f : frames.frames) {
        const std::vector<uint8_t> rows = TopDown(f, frames.width, frames.height);
        file.write(reinterpret_cast<const char*>(rows.data()), long(rows.size()));
    }
    return bool(file);
}
