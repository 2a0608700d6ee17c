#include "bench/FfmpegRun.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>

double TimedCommand(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string CommandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
    return out;
}

uint64_t VideoPacketBytes(const std::string& file) {
    std::istringstream sizes(
        CommandOutput("ffprobe -v error -select_streams v:0 -show_entries "
                      "packet=size -of csv=p=0 '" +
                      file + "'"));
    uint64_t total = 0;
    for (uint64_t size; sizes >> size;) total += size;
    return total;
}

std::vector<std::vector<uint16_t>> DecodeWithFfmpeg(const std::string& file, int width,
                                                    int height) {
    const std::string raw =
        CommandOutput("ffmpeg -v error -i '" + file + "' -f rawvideo -pix_fmt rgb555le -");
    const size_t frameBytes = size_t(width) * height * 2;
    std::vector<std::vector<uint16_t>> frames;
    for (size_t at = 0; at + frameBytes <= raw.size(); at += frameBytes) {
        std::vector<uint16_t> picture(size_t(width) * height);
        for (size_t i = 0; i < picture.size(); ++i) {
            picture[i] = uint16_t(uint8_t(raw[at + 2 * i]) | (uint8_t(raw[at + 2 * i + 1]) << 8));
        }
        frames.push_back(std::move(picture));
    }
    return frames;
}
