#include "codecs/ZmbvMotion.h"

#include <cstring>

namespace {

unsigned CountRowChanges(const uint8_t* a, const uint8_t* b, size_t bytes) {
    unsigned changes = 0;
    size_t i = 0;
    for (; i + 4 <= bytes; i += 4) {
        uint32_t wa, wb;
        std::memcpy(&wa, a + i, 4);
        std::memcpy(&wb, b + i, 4);
        changes += wa != wb;
    }
    if (i < bytes && std::memcmp(a + i, b + i, bytes - i) != 0) ++changes;
    return changes;
}

uint64_t HashRow(const uint8_t* row, size_t bytes) {
    uint64_t hash = 0x9E3779B97F4A7C15u ^ bytes;
    size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        uint64_t word;
        std::memcpy(&word, row + i, 8);
        hash = (hash ^ word) * 0x100000001B3u;
        hash ^= hash >> 29;
    }
    for (; i < bytes; ++i) hash = (hash ^ row[i]) * 0x100000001B3u;
    return hash;
}

}  // namespace

unsigned ZmbvCountChanges(const ZmbvPlane& current, const ZmbvPlane& previous, const ZmbvBlock& b,
                          ZmbvVector v, unsigned limit) {
    const size_t rowBytes = static_cast<size_t>(b.width) * static_cast<size_t>(current.pixelBytes);
    unsigned changes = 0;
    for (int y = 0; y < b.height && changes <= limit; ++y) {
        const uint8_t* now = current.At(b.x, b.y + y);
        const uint8_t* before = previous.At(b.x + v.dx, b.y + v.dy + y);
        if (std::memcmp(now, before, rowBytes) != 0) {
            changes += CountRowChanges(now, before, rowBytes);
        }
    }
    return changes;
}

void ZmbvHashRows(const ZmbvPlane& plane, std::vector<uint64_t>& hashes) {
    hashes.resize(static_cast<size_t>(plane.height));
    for (int y = 0; y < plane.height; ++y) hashes[y] = HashRow(plane.At(0, y), plane.Stride());
}

int ZmbvDominantScroll(const std::vector<uint64_t>& previous, const std::vector<uint64_t>& current,
                       int maxOffset) {
    const int height = static_cast<int>(current.size());
    if (static_cast<int>(previous.size()) != height) return 0;
    int best = 0, bestVotes = 1;
    for (int dy = -maxOffset; dy <= maxOffset; ++dy) {
        if (dy == 0) continue;
        int votes = 0;
        for (int y = dy < 0 ? -dy : 0; y < height && y + dy < height; ++y) {
            // Rows that did not change say nothing about scrolling.
            votes += current[y] != previous[y] && current[y] == previous[y + dy];
        }
        if (votes > bestVotes) {
            best = dy;
            bestVotes = votes;
        }
    }
    return best;
}

ZmbvChoice ZmbvChooseVector(const ZmbvPlane& current, const ZmbvPlane& previous,
                            const ZmbvGrid& grid, const ZmbvBlock& b, const ZmbvVector* candidates,
                            int count) {
    ZmbvChoice best{{0, 0}, ZmbvCountChanges(current, previous, b, {0, 0}, ~0u)};
    for (int i = 0; i < count && best.changes > 0; ++i) {
        const ZmbvVector v = candidates[i];
        if (v == ZmbvVector{0, 0} || !grid.Inside(b, v)) continue;
        const unsigned changes = ZmbvCountChanges(current, previous, b, v, best.changes);
        if (changes < best.changes) best = {v, changes};
    }
    return best;
}

ZmbvChoice ZmbvSearchVector(const ZmbvPlane& current, const ZmbvPlane& previous,
                            const ZmbvGrid& grid, const ZmbvBlock& b, ZmbvChoice best, int reach) {
    for (int dy = -reach; dy <= reach && best.changes > 0; ++dy) {
        for (int dx = -reach; dx <= reach && best.changes > 0; ++dx) {
            const ZmbvVector v{dx, dy};
            if (!grid.Inside(b, v)) continue;
            const unsigned changes = ZmbvCountChanges(current, previous, b, v, best.changes);
            if (changes < best.changes) best = {v, changes};
        }
    }
    return best;
}
