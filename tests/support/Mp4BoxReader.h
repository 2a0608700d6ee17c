// A strict reader of the MP4 files our writer makes, for its tests: it walks
// the top-level boxes over the whole file, parses 'moov' down to every
// table, rebuilds each track's samples (offset, size, timing, key flag)
// from the tables alone, and checks that all of it agrees.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "avi/OutputFile.h"

struct Mp4SampleAt {
    uint64_t offset = 0;
    uint32_t size = 0;
    uint32_t duration = 0;
    int32_t compositionOffset = 0;
    bool keyFrame = false;
    uint32_t chunk = 0;  // of its track, from 0
};

struct Mp4TrackLayout {
    uint32_t id = 0, handler = 0, timescale = 0;
    uint64_t mediaDuration = 0, trackDuration = 0;  // mdhd, tkhd
    uint32_t width = 0, height = 0;                 // tkhd, whole units
    uint32_t entryType = 0;                         // 'avc1' or 'mp4a'
    uint32_t entryWidth = 0, entryHeight = 0;
    std::vector<uint8_t> avcConfiguration;
    bool squarePixels = false;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint8_t objectType = 0, streamType = 0;
    uint32_t bufferBytes = 0, maxBitrate = 0, averageBitrate = 0;
    std::vector<uint8_t> audioSpecificConfig;
    bool hasEdit = false;
    int64_t editMediaTime = 0;
    uint64_t editDuration = 0;
    bool hasCtts = false, hasStss = false, co64 = false;
    uint32_t chunks = 0;
    std::vector<Mp4SampleAt> samples;
};

struct Mp4FileLayout {
    std::vector<uint32_t> topBoxes;  // in file order
    std::vector<uint32_t> brands;
    uint64_t moovAt = 0, mdatAt = 0;
    uint32_t mdatHeaderBytes = 0;
    uint64_t dataStart = 0, dataEnd = 0;  // the media data inside 'mdat'
    uint32_t movieTimescale = 0, nextTrack = 0;
    uint64_t movieDuration = 0;
    std::vector<Mp4TrackLayout> tracks;
    // What did not parse or does not agree; none for a sound file.
    std::vector<std::string> problems;
};

Mp4FileLayout ReadMp4Layout(OutputFile& file, uint64_t fileSize);

std::string BoxTypeText(uint32_t type);
