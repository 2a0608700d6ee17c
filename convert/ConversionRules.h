// The converter's arithmetic and names: which stored frame shows for how
// long, the output's default name, the quality choices and the command line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "encode/H264Settings.h"

// A stored frame and the positions it lasts: skipped positions (empty
// chunks) make the frame before them longer, so the film keeps its timing.
struct TimedFrame {
    size_t chunk;        // index into the stream's chunks
    uint32_t position;   // the first position it shows at
    uint32_t positions;  // how many it lasts
};
// chunkSizes: the video chunks in order. Empty chunks before the first
// frame lengthen it backwards: the film starts at position 0.
std::vector<TimedFrame> FramesOf(const std::vector<uint32_t>& chunkSizes);

// The same folder and name with ".mp4" in place of the extension.
std::string Mp4PathFor(const std::string& aviPath);
// Where the film is written until it is finished.
std::string UnfinishedPathFor(const std::string& mp4Path);

enum class Quality { Smaller, Balanced, Best };
constexpr const char* QualityNames[] = {"Smaller file", "Balanced", "Best quality"};

// framesPerSecond: the recording's rate; key frames come at least every 10 s.
H264Settings H264SettingsFor(Quality quality, double framesPerSecond);

// "Elapsed 0:12, about 0:30 left": the time left once a little is done.
std::string ProgressTimesText(double elapsedSeconds, double fractionDone);

// avi2mpg.exe [/q] IN.avi [OUT.mp4] converts at once; avi2mpg.exe /preset IN.avi
// opens the window with the recording chosen (the recorder's Convert command).
struct CommandLine {
    bool quiet = false;
    bool preset = false;
    std::string input, output;  // empty when not given
    std::string error;          // what is wrong with the line, or empty
};
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);
// The program's arguments from its whole command line (the program's own
// name first, as the platform gives it), split as the C runtime does for
// plain and double-quoted words.
std::vector<std::string> SplitCommandLine(const std::string& line);
