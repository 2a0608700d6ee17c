// Cheap motion finding for the ZMBV encoder: mostly no search, only a few
// likely vectors (still, the neighbours', the block's last one, a vertical
// scroll found from row hashes of its strip), each judged by how many pixel
// words it leaves changed; a full search only for a limited number of blocks
// per frame, to catch a moving window that the likely vectors then spread from.
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

// One hash per row segment of each strip of `stripWidth` columns (the last
// may be narrower), strip after strip: hashes[strip * height + y].
void ZmbvHashStrips(const ZmbvPlane& plane, int stripWidth, std::vector<uint64_t>& hashes);

// Hashes of every run of `length` consecutive rows of one strip, from the
// strip's row hashes: runs[y] covers rows y .. y + length - 1.
void ZmbvHashRuns(const uint64_t* rows, int height, int length, std::vector<uint64_t>& runs);

// Where each of a list of hashes lies, several places each.
class ZmbvHashIndex {
public:
    void Build(const std::vector<uint64_t>& hashes);
    // A position p with this hash and |p - near| <= reach, or -1.
    int Find(uint64_t hash, int near, int reach) const;

private:
    struct Slot {
        uint64_t hash;
        int last;  // the highest position with the hash
        unsigned stamp;
    };
    std::vector<Slot> m_slots;
    std::vector<int> m_earlier;  // per position: the next lower one with its hash, or -1
    unsigned m_stamp = 0;        // slots of earlier builds count as empty
    size_t m_mask = 0;
};

// A guess at how far block `b` scrolled vertically: the offset (within
// `maxOffset`) at which its rows, whole, lie in the previous picture's strip,
// given the hashes of that strip's runs of the block's height; 0 if nowhere.
int ZmbvGuessScroll(const ZmbvHashIndex& previousRuns, const uint64_t* currentStrip,
                    const ZmbvBlock& b, int maxOffset);

struct ZmbvChoice {
    ZmbvVector vector;
    unsigned changes;  // 0: the moved block is an exact copy
};

// The best of the candidates that keep the block inside the picture; (0, 0)
// is tried first and ends the search when nothing changed.
ZmbvChoice ZmbvChooseVector(const ZmbvPlane& current, const ZmbvPlane& previous,
                            const ZmbvGrid& grid, const ZmbvBlock& b, const ZmbvVector* candidates,
                            int count);

// When no vector gives an exact copy, fewest changed words is a poor guide
// to the smallest XOR data (a glyph over plain background deflates better
// than over another glyph): of `found`, (0, 0) and the candidates inside the
// picture, the one whose XOR bytes have the least entropy.
ZmbvChoice ZmbvCheapestXor(const ZmbvPlane& current, const ZmbvPlane& previous,
                           const ZmbvGrid& grid, const ZmbvBlock& b, ZmbvChoice found,
                           const ZmbvVector* candidates, int count);

// The best vector within `reach` for block `b`, starting from `best`: tries
// every offset, nearest first, so the caller keeps it to a few blocks per frame.
ZmbvChoice ZmbvSearchVector(const ZmbvPlane& current, const ZmbvPlane& previous,
                            const ZmbvGrid& grid, const ZmbvBlock& b, ZmbvChoice best, int reach);
