// An H.264 access unit in the form MP4 stores it (each NAL unit after its
// 4-byte big-endian length), from that form or from Annex B (start codes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Whether the bytes are whole units, each after its 4-byte length.
bool IsLengthPrefixed(const uint8_t* data, size_t size);

// Annex B to length-prefixed units; false unless it starts with a start
// code and holds at least one unit.
bool AnnexBToLengthPrefixed(const uint8_t* data, size_t size, std::vector<uint8_t>& out);
