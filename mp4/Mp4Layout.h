// Where a finished file puts its index: 'moov' right after 'ftyp', then
// any room left over as a 'free' box, then the 'mdat' header (64-bit size
// when the media data passes 4 GB) and the media data. The media data is
// written first, after a room reserved for the index; if the index does
// not fit there, or leaves much of it unused, the media data moves.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct Mp4Placement {
    uint64_t dataStart = 0;  // of the media data, after the 'mdat' header
    bool co64 = false;       // chunk offsets past 32 bits
    uint64_t indexBytes = 0;
};

// indexStart: where 'moov' goes; reservedStart: where the media data is
// now; lastChunk: the last chunk's offset within the media data;
// indexBytes(co64): the size of 'moov'.
Mp4Placement PlaceMp4Index(uint64_t indexStart, uint64_t reservedStart, uint64_t mediaBytes,
                           uint64_t lastChunk, const std::function<uint64_t(bool)>& indexBytes);

uint32_t MdatHeaderBytes(uint64_t mediaBytes);

// The bytes from indexStart to the media data: 'moov', 'free', 'mdat' header.
std::vector<uint8_t> Mp4IndexRegion(const std::vector<uint8_t>& moov, uint64_t indexStart,
                                    const Mp4Placement& placement, uint64_t mediaBytes);

// A room that holds the index of a film of this length, to reserve ahead
// of the media data so that nothing moves at the end.
uint64_t Mp4IndexRoomFor(double seconds, double framesPerSecond, uint32_t audioSampleRate);
