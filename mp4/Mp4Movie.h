// The boxes that describe the film: 'ftyp', and 'moov' with a 'trak' for
// each track, its sample tables pointing into the media data.
#pragma once

#include <cstdint>
#include <vector>

#include "mp4/Mp4SampleTable.h"

constexpr uint32_t Mp4MovieTimescale = 1000;

struct Mp4TrackInfo {
    uint32_t id = 0;
    bool video = false;
    uint32_t timescale = 0;
    uint32_t width = 0, height = 0;    // of the picture shown
    std::vector<uint8_t> sampleEntry;  // 'avc1' or 'mp4a'
    const Mp4SampleTable* samples = nullptr;
    uint64_t duration = 0;  // without samples (a film in fragments): the media's
    uint64_t skip = 0;      // media time before the track's first shown moment
};

std::vector<uint8_t> FileTypeBox();
std::vector<uint8_t> FragmentedFileTypeBox();

// dataStart: where the media data starts in the file; co64: 64-bit chunk offsets.
std::vector<uint8_t> MovieBox(const std::vector<Mp4TrackInfo>& tracks, uint64_t dataStart,
                              bool co64);
// A film in fragments: no samples in the tables, 64-bit durations (so
// that the box keeps its size when they change) and 'mvex' after the tracks.
std::vector<uint8_t> FragmentedMovieBox(const std::vector<Mp4TrackInfo>& tracks);
