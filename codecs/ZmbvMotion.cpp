#include "codecs/ZmbvMotion.h"

#include <cmath>
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

// n * log2(n) in sixteenths, for counts up to a block's bytes.
const std::vector<uint32_t>& SixteenthsOfNLogN() {
    static const std::vector<uint32_t> table = [] {
        std::vector<uint32_t> t(ZmbvBlockSide * ZmbvBlockSide * 4 + 1, 0);
        for (size_t n = 2; n < t.size(); ++n) {
            t[n] = static_cast<uint32_t>(16.0 * static_cast<double>(n) * std::log2(n) + 0.5);
        }
        return t;
    }();
    return table;
}

// What the XOR of the block and its moved source would take at best, in
// sixteenths of a bit: the entropy of its bytes.
uint32_t XorCost(const ZmbvPlane& current, const ZmbvPlane& previous, const ZmbvBlock& b,
                 ZmbvVector v) {
    uint32_t counts[256] = {};
    const size_t rowBytes = static_cast<size_t>(b.width) * static_cast<size_t>(current.pixelBytes);
    for (int y = 0; y < b.height; ++y) {
        const uint8_t* now = current.At(b.x, b.y + y);
        const uint8_t* before = previous.At(b.x + v.dx, b.y + v.dy + y);
        for (size_t i = 0; i < rowBytes; ++i) ++counts[now[i] ^ before[i]];
    }
    const std::vector<uint32_t>& nLogN = SixteenthsOfNLogN();
    uint32_t cost = nLogN[rowBytes * static_cast<size_t>(b.height)];
    for (uint32_t count : counts) cost -= nLogN[count];
    return cost;
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

void ZmbvHashStrips(const ZmbvPlane& plane, int stripWidth, std::vector<uint64_t>& hashes) {
    const int strips = (plane.width + stripWidth - 1) / stripWidth;
    hashes.resize(static_cast<size_t>(strips) * static_cast<size_t>(plane.height));
    for (int y = 0; y < plane.height; ++y) {
        for (int strip = 0; strip < strips; ++strip) {
            const int x = strip * stripWidth;
            const int width = plane.width - x < stripWidth ? plane.width - x : stripWidth;
            hashes[static_cast<size_t>(strip) * plane.height + y] =
                HashRow(plane.At(x, y), static_cast<size_t>(width) * plane.pixelBytes);
        }
    }
}

namespace {

constexpr uint64_t RunFactor = 0x100000001B3u;

uint64_t HashRun(const uint64_t* rows, int length) {
    uint64_t hash = 0;
    for (int i = 0; i < length; ++i) hash = hash * RunFactor + rows[i];
    return hash;
}

}  // namespace

void ZmbvHashRuns(const uint64_t* rows, int height, int length, std::vector<uint64_t>& runs) {
    runs.clear();
    if (length > height) return;
    uint64_t top = 1;  // RunFactor^(length - 1): the weight of a run's first row
    for (int i = 1; i < length; ++i) top *= RunFactor;
    uint64_t hash = HashRun(rows, length);
    runs.push_back(hash);
    for (int y = 1; y + length <= height; ++y) {
        hash = (hash - rows[y - 1] * top) * RunFactor + rows[y + length - 1];
        runs.push_back(hash);
    }
}

void ZmbvHashIndex::Build(const std::vector<uint64_t>& hashes) {
    const size_t wanted = hashes.size() * 2;
    if (m_slots.size() < wanted) {
        size_t size = 64;
        while (size < wanted) size *= 2;
        m_slots.assign(size, Slot{0, 0, 0});
        m_mask = size - 1;
        m_stamp = 0;
    }
    ++m_stamp;
    m_earlier.assign(hashes.size(), -1);
    for (size_t p = 0; p < hashes.size(); ++p) {
        for (size_t i = hashes[p] & m_mask;; i = (i + 1) & m_mask) {
            Slot& slot = m_slots[i];
            if (slot.stamp != m_stamp) {
                slot = {hashes[p], static_cast<int>(p), m_stamp};
                break;
            }
            if (slot.hash == hashes[p]) {
                m_earlier[p] = slot.last;
                slot.last = static_cast<int>(p);
                break;
            }
        }
    }
}

int ZmbvHashIndex::Find(uint64_t hash, int near, int reach) const {
    constexpr int MostSteps = 32;  // a blank run can be everywhere; any near one will do
    for (size_t i = hash & m_mask; !m_slots.empty(); i = (i + 1) & m_mask) {
        const Slot& slot = m_slots[i];
        if (slot.stamp != m_stamp) return -1;
        if (slot.hash != hash) continue;
        int p = slot.last;
        for (int step = 0; p >= near - reach && step < MostSteps; ++step, p = m_earlier[p]) {
            if (p <= near + reach) return p;
        }
        return -1;
    }
    return -1;
}

int ZmbvGuessScroll(const ZmbvHashIndex& previousRuns, const uint64_t* currentStrip,
                    const ZmbvBlock& b, int maxOffset) {
    const int from = previousRuns.Find(HashRun(currentStrip + b.y, b.height), b.y, maxOffset);
    return from < 0 ? 0 : from - b.y;
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
    // Ring by ring outwards, so that of equal vectors the shortest wins:
    // in flat areas every vector is an exact copy, and short ones spread best.
    for (int r = 1; r <= reach && best.changes > 0; ++r) {
        for (int dy = -r; dy <= r && best.changes > 0; ++dy) {
            const int step = dy == -r || dy == r ? 1 : 2 * r;
            for (int dx = -r; dx <= r && best.changes > 0; dx += step) {
                const ZmbvVector v{dx, dy};
                if (!grid.Inside(b, v)) continue;
                const unsigned changes = ZmbvCountChanges(current, previous, b, v, best.changes);
                if (changes < best.changes) best = {v, changes};
            }
        }
    }
    return best;
}

ZmbvChoice ZmbvCheapestXor(const ZmbvPlane& current, const ZmbvPlane& previous,
                           const ZmbvGrid& grid, const ZmbvBlock& b, ZmbvChoice found,
                           const ZmbvVector* candidates, int count) {
    if (found.changes == 0) return found;
    ZmbvVector best = found.vector;
    uint32_t bestCost = XorCost(current, previous, b, best);
    for (int i = -1; i < count; ++i) {
        const ZmbvVector v = i < 0 ? ZmbvVector{0, 0} : candidates[i];
        if (v == best || !grid.Inside(b, v)) continue;
        const uint32_t cost = XorCost(current, previous, b, v);
        if (cost < bestCost) {
            best = v;
            bestCost = cost;
        }
    }
    if (best == found.vector) return found;
    return {best, ZmbvCountChanges(current, previous, b, best, ~0u)};
}
