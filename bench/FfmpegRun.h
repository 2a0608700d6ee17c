// Runs the ffmpeg and ffprobe programs for the benchmark's comparison.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Runs a shell command; returns its wall time in seconds, or -1 if it failed.
double TimedCommand(const std::string& command);

// Standard output of a shell command.
std::string CommandOutput(const std::string& command);

// Sum of the video packet sizes in a file, by ffprobe.
uint64_t VideoPacketBytes(const std::string& file);

// Every frame of a file decoded by ffmpeg to RGB555.
std::vector<std::vector<uint16_t>> DecodeWithFfmpeg(const std::string& file, int width, int height);
