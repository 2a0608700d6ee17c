// The sample entries of our two kinds of track: 'avc1' (H.264, with its
// 'avcC' and square pixels) and 'mp4a' (AAC, with its 'esds').
#pragma once

#include <cstdint>
#include <vector>

#include "mp4/Mp4Tracks.h"

std::vector<uint8_t> AvcSampleEntry(uint32_t width, uint32_t height,
                                    const std::vector<uint8_t>& avcConfiguration);
std::vector<uint8_t> AacSampleEntry(uint32_t sampleRate, uint16_t channels,
                                    const std::vector<uint8_t>& descriptors);

// The 'avc1' entry of a video track; empty when the file cannot describe
// the track (its parameter sets, its size or its timescale).
std::vector<uint8_t> VideoTrackEntry(const Mp4VideoTrack& video);
// Whether the file can describe the sound track.
bool AudioTrackFits(const Mp4AudioTrack& audio);
