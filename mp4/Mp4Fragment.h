// The boxes of a film written in fragments: each 'moof' with the 'mdat'
// header after it, and the random-access index 'mfra' at the end.
#pragma once

#include <cstdint>
#include <vector>

#include "mp4/Mp4SampleTable.h"

// Sample flags: a key frame depends on no other sample; any other frame
// depends on earlier ones and is no place to start decoding.
constexpr uint32_t Mp4SyncSample = 0x02000000;
constexpr uint32_t Mp4NonSyncSample = 0x01010000;

// One track's samples in a fragment, decoded from baseTime on (in the
// track's timescale), their bytes one after another in the 'mdat'.
struct Mp4TrackRun {
    uint32_t trackId = 0;
    uint64_t baseTime = 0;
    std::vector<Mp4Sample> samples;
    bool sampleFlags = false;  // each sample's key flag; else the track's default
};

// 'moof' (sequence number from 1, a 'traf' a run, in this order) and the
// header of the 'mdat' that holds the runs' bytes in the same order.
std::vector<uint8_t> FragmentHead(uint32_t sequence, const std::vector<Mp4TrackRun>& runs);

// A place to start decoding: a key frame, or a fragment's first sound sample.
struct Mp4AccessPoint {
    uint64_t time = 0;              // decoding time, in the track's timescale
    uint64_t moofOffset = 0;        // from the start of the file
    uint32_t traf = 1, sample = 1;  // numbered from 1 within the 'moof' and the run
};

struct Mp4TrackAccess {
    uint32_t trackId = 0;
    std::vector<Mp4AccessPoint> points;
};

// 'mfra': a 'tfra' a track, then 'mfro' with the size of the whole.
std::vector<uint8_t> RandomAccessBox(const std::vector<Mp4TrackAccess>& tracks);
