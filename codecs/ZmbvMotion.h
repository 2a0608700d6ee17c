// Cheap motion finding for the ZMBV encoder: mostly no search, only a few
// likely vectors (still, the neighbours', the block's last one, a
// whole-picture vertical scroll), each judged by how many pixel words it
// leaves changed; a full search only for a handful of blocks per frame, to
// catch a moving window that the likely vectors then spread from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/ZmbvFormat.h"

// A packed top-down picture.
struct ZmbvPlane {
    const uint8_t* pixels;
    int width, height, pixelBytes;

    size_t Stride() const { return static_cast<size_t>(width) * static_cast<size_t>(pixelBytes); }
    const uint8_t* At(int x, int y) const {
        return pixels + static_cast<size_t>(y) * Stride() + static_cast<size_t>(x) * pixelBytes;
    }
};

// 32-bit words of block `b` of `current` that differ from the block moved by
// `v` in `previous` (a 16-bit tail of a row counts as one); stops counting
// once past `limit`. The moved block must lie inside the picture.
unsigned ZmbvCountChanges(const ZmbvPlane& current, const ZmbvPlane& previous, const ZmbvBlock& b,
                          ZmbvVector v, unsigned limit);

// One hash per row of the picture.
void ZmbvHashRows(const ZmbvPlane& plane, std::vector<uint64_t>& hashes);

// The vertical offset dy (1 <= |dy| <= maxOffset) for which most changed rows
// of the current picture equal row y + dy of the previous one; 0 if fewer
// than two rows agree on any offset.
int ZmbvDominantScroll(const std::vector<uint64_t>& previous, const std::vector<uint64_t>& current,
                       int maxOffset);

struct ZmbvChoice {
    ZmbvVector vector;
    unsigned changes;  // 0: the moved block is an exact copy
};

// The best of the candidates that keep the block inside the picture; (0, 0)
// is tried first and ends the search when nothing changed.
ZmbvChoice ZmbvChooseVector(const ZmbvPlane& current, const ZmbvPlane& previous,
                            const ZmbvGrid& grid, const ZmbvBlock& b, const ZmbvVector* candidates,
                            int count);

// The best vector within `reach` for block `b`, starting from `best`: tries
// every offset, so the caller keeps it to a few blocks per frame.
ZmbvChoice ZmbvSearchVector(const ZmbvPlane& current, const ZmbvPlane& previous,
                            const ZmbvGrid& grid, const ZmbvBlock& b, ZmbvChoice best, int reach);
