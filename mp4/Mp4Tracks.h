// What our MP4 writers are told about the two tracks, and how they fail.
#pragma once

#include <cstdint>
#include <vector>

struct Mp4VideoTrack {
    uint32_t width = 0, height = 0;  // the picture shown (after cropping)
    uint32_t timescale = 1000;       // units per second of the durations below
    std::vector<uint8_t> sps, pps;   // one each, without start codes (from the encoder)
};

struct Mp4AudioTrack {
    uint32_t sampleRate = 48000;
    uint16_t channels = 2;
    std::vector<uint8_t> audioSpecificConfig;     // AAC-LC, from the encoder
    uint32_t averageBitrate = 0, maxBitrate = 0;  // 0: measured from the frames
    // Samples the encoder puts before the sound it was given: the track
    // shows its media from there on.
    uint32_t primingSamples = 0;
};

enum class Mp4WriteError {
    None,
    BadInput,  // a track or sample the file cannot describe
    Header,    // writing the start of the file
    Media,     // writing a chunk or a fragment of media data
    Move,      // moving the media data at Close
    Index,     // writing 'moov' (or the random-access index) at Close
    Flush,     // a disk flush
};
