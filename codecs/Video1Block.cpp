#include "codecs/Video1Block.h"

#include <cstdint>

namespace {

constexpr int FillBytes = 2, TwoColourBytes = 6, EightColourBytes = 18;

// The 2x2 quadrants in the order of the eight-colour code's colour pairs.
constexpr uint8_t Quadrants[4][4] = {{0, 1, 4, 5}, {2, 3, 6, 7}, {8, 9, 12, 13}, {10, 11, 14, 15}};
constexpr uint8_t WholeBlock[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

struct Colour {
    int r, g, b;  // expanded 8-bit values of the stored colour
    uint16_t rgb555;
};

Colour MakeColour(int r5, int g5, int b5) {
    return {Expand5(r5), Expand5(g5), Expand5(b5), Pack555(r5, g5, b5)};
}

struct Sums {
    int r = 0, g = 0, b = 0, n = 0;
    void Add(const Video1BlockPixels& p, int i) {
        r += p.r[i];
        g += p.g[i];
        b += p.b[i];
        ++n;
    }
    Colour Mean() const {
        const int h = n / 2;
        return MakeColour(Quantize5((r + h) / n), Quantize5((g + h) / n), Quantize5((b + h) / n));
    }
};

int Distance(const Video1BlockPixels& p, int i, const Colour& c) {
    const int dr = p.r[i] - c.r, dg = p.g[i] - c.g, db = p.b[i] - c.b;
    return dr * dr + dg * dg + db * db;
}

// Two colours for a set of pixels; bit k of `high` puts pixel idx[k] on `hi`.
struct Pair {
    Colour hi, lo;
    unsigned high;
    uint32_t error;
};

// Gives each pixel the nearer colour; returns the total error.
uint32_t AssignNearest(const Video1BlockPixels& p, const uint8_t* idx, int n, Pair& pair) {
    pair.high = 0;
    pair.error = 0;
    for (int k = 0; k < n; ++k) {
        const int dh = Distance(p, idx[k], pair.hi), dl = Distance(p, idx[k], pair.lo);
        if (dh < dl) pair.high |= 1u << k;
        pair.error += static_cast<uint32_t>(dh < dl ? dh : dl);
    }
    return pair.error;
}

void MeansOfGroups(const Video1BlockPixels& p, const uint8_t* idx, int n, Pair& pair) {
    Sums hi, lo;
    for (int k = 0; k < n; ++k) ((pair.high >> k) & 1 ? hi : lo).Add(p, idx[k]);
    pair.lo = lo.n ? lo.Mean() : hi.Mean();
    pair.hi = hi.n ? hi.Mean() : pair.lo;
}

// First split: across the middle of the component that varies most, which
// separates any two distinct colours exactly.
unsigned SplitOnWidestComponent(const Video1BlockPixels& p, const uint8_t* idx, int n) {
    const uint8_t* planes[3] = {p.r, p.g, p.b};
    int bestRange = -1, bestMid = 0;
    const uint8_t* plane = p.r;
    for (const uint8_t* candidate : planes) {
        int lo = 255, hi = 0;
        for (int k = 0; k < n; ++k) {
            const int v = candidate[idx[k]];
            lo = v < lo ? v : lo;
            hi = v > hi ? v : hi;
        }
        if (hi - lo > bestRange) {
            bestRange = hi - lo;
            bestMid = (lo + hi) / 2;
            plane = candidate;
        }
    }
    unsigned high = 0;
    for (int k = 0; k < n; ++k) {
        if (plane[idx[k]] > bestMid) high |= 1u << k;
    }
    return high;
}

Pair FitPair(const Video1BlockPixels& p, const uint8_t* idx, int n, int refinements) {
    Pair pair{};
    pair.high = SplitOnWidestComponent(p, idx, n);
    MeansOfGroups(p, idx, n, pair);
    AssignNearest(p, idx, n, pair);
    for (int i = 0; i < refinements; ++i) {
        MeansOfGroups(p, idx, n, pair);
        AssignNearest(p, idx, n, pair);
    }
    return pair;
}

void PutWord(uint8_t* at, unsigned word) {
    at[0] = static_cast<uint8_t>(word & 0xFF);
    at[1] = static_cast<uint8_t>(word >> 8);
}

void CodeFill(const Video1BlockPixels& p, Video1BlockCode& out) {
    Sums all;
    for (int i = 0; i < 16; ++i) all.Add(p, i);
    Colour c = all.Mean();
    // A red of 1 would make the word read as a skip count.
    if ((c.rgb555 >> 10) == 1) {
        c = MakeColour(all.r >= 16 * 8 ? 2 : 0, (c.rgb555 >> 5) & 31, c.rgb555 & 31);
    }
    out.size = FillBytes;
    PutWord(out.bytes, 0x8000u | c.rgb555);
    out.error = 0;
    for (int i = 0; i < 16; ++i) {
        out.pixels[i] = c.rgb555;
        out.error += static_cast<uint32_t>(Distance(p, i, c));
    }
}

// Writes one colour pair with its flags. Flag 1 selects the first colour; the
// pair is ordered so that the flag of `last` (pixel 15 in the block) is 0, since
// a set top flag bit would change the code's meaning.
unsigned PlacePair(const Pair& pair, const uint8_t* idx, int n, int last, uint8_t* colours,
                   uint16_t* pixels) {
    const bool swap = (pair.high >> last) & 1;
    const Colour& first = swap ? pair.lo : pair.hi;
    const Colour& second = swap ? pair.hi : pair.lo;
    PutWord(colours, first.rgb555);
    PutWord(colours + 2, second.rgb555);
    unsigned flags = 0;
    for (int k = 0; k < n; ++k) {
        const bool onFirst = ((pair.high >> k) & 1) != swap;
        if (onFirst) flags |= 1u << idx[k];
        pixels[idx[k]] = onFirst ? first.rgb555 : second.rgb555;
    }
    return flags;
}

void CodeTwoColours(const Video1BlockPixels& p, Video1BlockCode& out) {
    const Pair pair = FitPair(p, WholeBlock, 16, 1);
    out.size = TwoColourBytes;
    PutWord(out.bytes, PlacePair(pair, WholeBlock, 16, 15, out.bytes + 2, out.pixels));
    out.error = pair.error;
}

void CodeEightColours(const Video1BlockPixels& p, Video1BlockCode& out) {
    out.size = EightColourBytes;
    out.error = 0;
    unsigned flags = 0;
    for (int q = 0; q < 4; ++q) {
        const Pair pair = FitPair(p, Quadrants[q], 4, 0);
        flags |= PlacePair(pair, Quadrants[q], 4, 3, out.bytes + 2 + 4 * q, out.pixels);
        out.error += pair.error;
    }
    PutWord(out.bytes, flags);
    out.bytes[3] |= 0x80;  // top bit of the first colour marks eight colours
}

}  // namespace

// Grows with the square of the loss, so the top of the scale, where screen
// recordings are made, keeps fine detail; at 8500 text stays crisp while flat
// and unchanged areas cost next to nothing (see bench/run.sh).
uint32_t Video1Lambda(int quality) {
    const uint32_t loss = static_cast<uint32_t>(10000 - quality);
    return loss * loss / 4000;
}

bool ChooseBlockCode(const Video1BlockPixels& block, uint32_t lambda, uint32_t skipError,
                     Video1BlockCode& out) {
    if (skipError <= FillBytes * lambda) return false;
    CodeFill(block, out);
    uint32_t best = out.error + FillBytes * lambda;
    if (best > TwoColourBytes * lambda) {
        Video1BlockCode two;
        CodeTwoColours(block, two);
        if (two.error + TwoColourBytes * lambda < best) {
            out = two;
            best = two.error + TwoColourBytes * lambda;
        }
    }
    if (best > EightColourBytes * lambda) {
        Video1BlockCode eight;
        CodeEightColours(block, eight);
        if (eight.error + EightColourBytes * lambda < best) {
            out = eight;
            best = eight.error + EightColourBytes * lambda;
        }
    }
    return skipError > best;
}
