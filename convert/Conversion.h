// One conversion: an AVI recording into an MP4 file with H.264 video and,
// where the recording has PCM sound, AAC sound. The film is written under a
// temporary name and takes its own only when it is whole, so a failure or a
// cancel leaves no half-written file behind.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "convert/ConversionRules.h"

struct ConversionRequest {
    std::string input, output;
    Quality quality = Quality::Balanced;
};

struct ConversionResult {
    bool done = false;
    bool cancelled = false;
    std::string message;  // why it failed, naming the file
};

// progress: the share done, 0 to 1, from the converting thread.
ConversionResult Convert(const ConversionRequest& request,
                         const std::function<void(double)>& progress,
                         const std::atomic<bool>& cancel);
