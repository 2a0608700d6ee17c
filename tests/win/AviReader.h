// Reading back a written AVI file through the platform's AVI layer: the
// first video stream's header, format and stored samples, and the first
// audio stream's format.
#pragma once

#include <windows.h>

#include <vfw.h>

#include <cstdint>
#include <string>
#include <vector>

struct AviSample {
    bool read = false;  // the layer handed the data over
    bool keyFrame = false;
    std::vector<uint8_t> data;  // empty at a skipped position
};

struct AviContents {
    bool opened = false;    // the file opened
    bool hasVideo = false;  // it has a video stream, and its header was read
    AVISTREAMINFOA video{};
    bool videoFormatRead = false;
    BITMAPINFOHEADER videoFormat{};
    LONG length = 0;                 // the video stream's positions
    std::vector<AviSample> samples;  // one a position, from the stream's start
    bool hasAudio = false;           // it has an audio stream, and its format was read
    WAVEFORMATEX audioFormat{};
};

AviContents ReadAvi(const std::string& path);
