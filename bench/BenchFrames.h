// The frames a benchmark run encodes: 32-bit BGRX pixels in the bottom-up
// row order of the DIBs the program grabs, from a raw file of top-down BGRA
// frames (as ffmpeg writes with -f rawvideo -pix_fmt bgra) or drawn here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BenchFrames {
    int width = 0, height = 0;
    std::vector<std::vector<uint8_t>> frames;  // bottom-up rows
};

// False when the file cannot be read or holds no whole frame.
bool ReadRawFrames(const std::string& path, int width, int height, BenchFrames& out);
BenchFrames SyntheticFrames(int width, int height, int count);

// One frame's rows top-down, as players and ffmpeg see the picture.
std::vector<uint8_t> TopDown(const std::vector<uint8_t>& frame, int width, int height);
// Every frame top-down into one raw file, as ffmpeg's encoders get them.
bool WriteTopDownRaw(const BenchFrames& frames, const std::string& path);
