#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "codecs/ZmbvDecoder.h"
#include "codecs/ZmbvEncoder.h"
#include "codecs/ZmbvMotion.h"

namespace {

using Painter = std::function<uint32_t(int x, int y)>;  // 0xRRGGBB

// Input rows with 8 bytes of junk after each, top-down or bottom-up in memory.
struct Frame {
    int width, height, bitCount;
    bool bottomUp;
    std::vector<uint8_t> bytes;

    size_t Stride() const { return static_cast<size_t>(width) * bitCount / 8 + 8; }
    const uint8_t* Top() const { return bytes.data() + (bottomUp ? (height - 1) * Stride() : 0); }
    ptrdiff_t Step() const { return bottomUp ? -static_cast<ptrdiff_t>(Stride()) : Stride(); }
    uint8_t* Pixel(int x, int y) {
        const int row = bottomUp ? height - 1 - y : y;
        return bytes.data() + row * Stride() + x * bitCount / 8;
    }
};

Frame Paint(int width, int height, int bitCount, const Painter& paint, bool bottomUp = false) {
    Frame f{width, height, bitCount, bottomUp, {}};
    f.bytes.assign(f.Stride() * height, 0xA5);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t c = paint(x, y);
            uint8_t* p = f.Pixel(x, y);
            if (bitCount == 16) {
                const uint32_t v = ((c >> 9) & 0x7C00) | ((c >> 6) & 0x3E0) | ((c >> 3) & 0x1F);
                p[0] = static_cast<uint8_t>(v);
                p[1] = static_cast<uint8_t>(v >> 8 | (x & 1) << 7);  // top bit must not count
            } else {
                for (int i = 0; i < bitCount / 8; ++i) p[i] = static_cast<uint8_t>(c >> 8 * i);
                if (bitCount == 32) p[3] = static_cast<uint8_t>(x * 31);  // nor alpha
            }
        }
    }
    return f;
}

// What the decoder must show: 15-bit words with the top bit clear, or B, G, R, 0.
std::vector<uint8_t> Expected(Frame f) {
    std::vector<uint8_t> out;
    for (int y = 0; y < f.height; ++y) {
        for (int x = 0; x < f.width; ++x) {
            const uint8_t* p = f.Pixel(x, y);
            if (f.bitCount == 16) {
                out.insert(out.end(), {p[0], static_cast<uint8_t>(p[1] & 0x7F)});
            } else {
                out.insert(out.end(), {p[0], p[1], p[2], 0});
            }
        }
    }
    return out;
}

uint32_t Noise(int x, int y, int seed) {
    uint32_t h = (x * 7919u + y * 104729u + seed * 15485863u) * 2654435761u;
    return (h ^ h >> 15) & 0xFFFFFF;
}

// Text-like rows: lines of 12 rows holding glyph-ish dots, scrolled up by
// `scroll` rows; new lines appear at the bottom.
Painter Text(int scroll) {
    return [scroll](int x, int y) -> uint32_t {
        const int row = y + scroll, line = row / 12, inLine = row % 12;
        if (inLine >= 9 || (x / 7 + line) % 11 == 0) return 0xFFFFFF;
        return Noise(x / 2, row, line) % 3 == 0 ? 0x101010 : 0xFFFFFF;
    };
}

// A window of text over a desktop of other text.
Painter Window(int left, int top) {
    return [left, top](int x, int y) -> uint32_t {
        const bool inside = x >= left && x < left + 60 && y >= top && y < top + 40;
        return inside ? Text(0)(x - left, y - top) : Text(500)(x, y) ^ 0x3060A0;
    };
}

// An encoder and a decoder side by side; each frame must come back exactly.
struct Pair {
    explicit Pair(int width, int height, int bitCount, int level = ZmbvEncoder::DefaultLevel) {
        EXPECT_TRUE(encoder.Begin(width, height, bitCount, level));
        EXPECT_TRUE(decoder.Begin(width, height));
    }
    size_t Round(const Frame& f, bool key = false) {
        EXPECT_TRUE(encoder.Encode(f.Top(), f.Step(), key, out));
        EXPECT_TRUE(decoder.Decode(out.data(), out.size()));
        EXPECT_EQ(decoder.Picture(), Expected(f));
        return out.size();
    }
    ZmbvEncoder encoder;
    ZmbvDecoder decoder;
    std::vector<uint8_t> out;
};

}  // namespace

TEST(ZmbvCodec, RoundTripsEveryDepthAndRowOrderExactly) {
    for (int bits : {16, 24, 32}) {
        for (bool bottomUp : {false, true}) {
            for (auto size : {std::pair<int, int>{64, 48}, {37, 23}, {1, 1}, {17, 33}}) {
                SCOPED_TRACE(testing::Message() << bits << " bits, " << size.first << "x"
                                                << size.second << (bottomUp ? " bottom-up" : ""));
                Pair pair(size.first, size.second, bits);
                for (int i = 0; i < 6; ++i) {
                    pair.Round(Paint(
                        size.first, size.second, bits,
                        [i](int x, int y) {
                            return x + y < 10 + 4 * i ? Noise(x, y, i) : Window(i, i)(x, y);
                        },
                        bottomUp));
                }
                EXPECT_EQ(pair.decoder.PixelBytes(), bits == 16 ? 2 : 4);
            }
        }
    }
}

TEST(ZmbvCodec, EveryLevelIsLosslessAndZeroStoresRaw) {
    const size_t raw = ZmbvKeyHeaderBytes + 37 * 23 * 4;
    for (int level = 0; level <= 9; ++level) {
        Pair pair(37, 23, 32, level);
        const size_t key = pair.Round(Paint(37, 23, 32, Text(0)));
        EXPECT_EQ(pair.out[3], level == 0 ? ZmbvCompressionNone : ZmbvCompressionZlib);
        EXPECT_TRUE(level == 0 ? key == raw : key * 3 < raw) << level << ": " << key;
        for (int i = 1; i < 3; ++i) pair.Round(Paint(37, 23, 32, Text(i * 2)));
    }
}

TEST(ZmbvCodec, ScrollingTextCostsLittleNextToTheKeyFrame) {
    Pair pair(320, 240, 32);
    const size_t key = pair.Round(Paint(320, 240, 32, Text(0)));
    for (int i = 1; i <= 8; ++i) {
        // Most of it is the three new rows at the bottom.
        EXPECT_LT(pair.Round(Paint(320, 240, 32, Text(3 * i))) * 5, key) << i;
    }
}

TEST(ZmbvCodec, TextJumpingFarInsideAPanelIsCopiedWhole) {
    // A terminal-like panel narrower than the screen, over a still desktop,
    // whose text jumps by more rows than a block search reaches.
    constexpr int Left = 37, Top = 20, Right = 237, Bottom = 220;
    auto panel = [](int scroll) -> Painter {
        return [scroll](int x, int y) {
            const bool inside = x >= Left && x < Right && y >= Top && y < Bottom;
            return inside ? Text(scroll)(x - Left, y - Top) : Text(900)(x, y) ^ 0x205080;
        };
    };
    Pair pair(320, 240, 32, 0);  // uncompressed: the block table is readable as it stands
    pair.Round(Paint(320, 240, 32, panel(0)));
    int scroll = 0;
    for (int jump : {41, 30, 63, 17, 50}) {
        scroll += jump;
        pair.Round(Paint(320, 240, 32, panel(scroll)));
        const ZmbvGrid grid{320, 240, ZmbvBlockSide, ZmbvBlockSide};
        for (int row = 0; row < grid.Rows(); ++row) {
            for (int column = 0; column < grid.Columns(); ++column) {
                const ZmbvBlock b = grid.Block(column, row);
                const uint8_t* entry = pair.out.data() + 1 + 2 * (row * grid.Columns() + column);
                // Still blocks outside and text blocks that were on screen before.
                const bool inside = b.x >= Left && b.x + b.width <= Right && b.y >= Top &&
                                    b.y + b.height <= Bottom - jump;
                const bool outside = b.x + b.width <= Left || b.x >= Right || b.y >= Bottom ||
                                     b.y + b.height <= Top;
                if (!inside && !outside) continue;
                EXPECT_EQ(entry[0] & 1, 0) << jump << " at " << b.x << "," << b.y;
                if (inside) {
                    EXPECT_EQ(ZmbvGetVector(entry).dy, jump) << b.x << "," << b.y;
                }
            }
        }
    }
}

TEST(ZmbvCodec, AWindowMovingOverAFlatDesktopIsCopiedWhole) {
    // Over a desktop of its own colour each of its blocks changes only a
    // little (an edge, sparse text), so none looks like motion by itself.
    constexpr int Width = 100, Height = 70;
    auto desktop = [](int left, int top) -> Painter {
        return [left, top](int x, int y) -> uint32_t {
            const int wx = x - left, wy = y - top;
            if (wx < 0 || wy < 0 || wx >= Width || wy >= Height) return 0xF0F0F0;
            if (wx == 0 || wy == 0 || wx == Width - 1 || wy == Height - 1) return 0x000000;
            return Noise(wx, wy, 1) % 12 == 0 ? 0x202020 : 0xF0F0F0;  // sparse text
        };
    };
    Pair pair(320, 240, 32, 0);
    pair.Round(Paint(320, 240, 32, desktop(30, 40)));
    const ZmbvGrid grid{320, 240, ZmbvBlockSide, ZmbvBlockSide};
    for (int i = 1; i <= 5; ++i) {
        const int left = 30 + 8 * i, top = 40 + 3 * i;
        pair.Round(Paint(320, 240, 32, desktop(left, top)));
        for (int row = 0; row < grid.Rows(); ++row) {
            for (int column = 0; column < grid.Columns(); ++column) {
                const ZmbvBlock b = grid.Block(column, row);
                const bool inside = b.x >= left && b.y >= top && b.x + b.width <= left + Width &&
                                    b.y + b.height <= top + Height;
                const uint8_t* entry = pair.out.data() + 1 + 2 * (row * grid.Columns() + column);
                if (inside) {
                    EXPECT_EQ(entry[0] & 1, 0) << i << " at " << b.x << "," << b.y;
                }
            }
        }
    }
}

TEST(ZmbvCodec, MovingWindowAndStillFramesCostLittle) {
    Pair pair(320, 240, 16);
    const size_t key = pair.Round(Paint(320, 240, 16, Window(10, 10)));
    for (int i = 1; i <= 6; ++i) {
        // Far less than XOR against the still picture (about a tenth) costs.
        EXPECT_LT(pair.Round(Paint(320, 240, 16, Window(10 + 5 * i, 10 + 3 * i))) * 12, key);
    }
    EXPECT_LT(pair.Round(Paint(320, 240, 16, Window(40, 28))), 40u);  // the same again
}

TEST(ZmbvCodec, KeyFramesComeWhenAskedAndStandAlone) {
    for (int spacing : {1, 2, 5}) {
        Pair pair(48, 40, 24);
        for (int i = 0; i < 12; ++i) {
            const Frame f = Paint(48, 40, 24, Text(i));
            pair.Round(f, i % spacing == 0);
            EXPECT_EQ(pair.out[0] & ZmbvKeyFrameFlag, i % spacing == 0 ? 1 : 0);
            if (i % spacing != 0) continue;
            ZmbvDecoder fresh;  // a player seeking to this key frame
            ASSERT_TRUE(fresh.Begin(48, 40));
            EXPECT_TRUE(fresh.Decode(pair.out.data(), pair.out.size()));
            EXPECT_EQ(fresh.Picture(), Expected(f));
        }
    }
}

TEST(ZmbvCodec, NoiseStaysWithinMaxFrameBytes) {
    Pair pair(67, 45, 32, 9);
    for (int i = 0; i < 3; ++i) {
        EXPECT_LE(pair.Round(Paint(67, 45, 32, [i](int x, int y) { return Noise(x, y, i); })),
                  ZmbvEncoder::MaxFrameBytes(67, 45, 32));
    }
}

TEST(ZmbvEncoder, RefusesWhatItCannotEncode) {
    EXPECT_FALSE(ZmbvEncoder::Supports(64, 48, 8));
    EXPECT_FALSE(ZmbvEncoder::Supports(0, 48, 32));
    EXPECT_FALSE(ZmbvEncoder::Supports(64, ZmbvMaxSide + 1, 16));
    ZmbvEncoder encoder;
    std::vector<uint8_t> out;
    const uint8_t pixel[4] = {};
    EXPECT_FALSE(encoder.Encode(pixel, 4, true, out));
    EXPECT_FALSE(encoder.Begin(1, 1, 32, 10));
}

TEST(ZmbvMotion, RunHashesRollAndTheIndexFindsThemWithinReach) {
    std::vector<uint64_t> rows(200);
    for (int y = 0; y < 200; ++y) rows[y] = y % 50 < 10 ? 7 : 1000 + y;  // blank bands repeat
    std::vector<uint64_t> runs, one;
    ZmbvHashRuns(rows.data(), 200, 16, runs);
    ASSERT_EQ(runs.size(), 185u);
    for (int y = 0; y < 185; ++y) {
        ZmbvHashRuns(rows.data() + y, 16, 16, one);
        ASSERT_EQ(runs[y], one.at(0)) << y;
    }
    ZmbvHashIndex index;
    index.Build(runs);
    EXPECT_EQ(index.Find(runs[120], 100, 63), 120);
    EXPECT_EQ(index.Find(runs[120], 180, 60), 120);
    EXPECT_EQ(index.Find(runs[120], 50, 63), -1);   // too far
    EXPECT_EQ(index.Find(12345, 120, 63), -1);      // nowhere
    std::vector<uint64_t> blank(16, 7);             // a run of blank rows: bands at 0, 50, 100, 150
    ZmbvHashRuns(blank.data(), 16, 10, one);
    ZmbvHashRuns(rows.data(), 200, 10, runs);
    index.Build(runs);
    for (int near : {0, 40, 75, 110, 170}) {
        const int at = index.Find(one.at(0), near, 30);
        EXPECT_TRUE(at >= near - 30 && at <= near + 30 && at % 50 == 0) << near << ": " << at;
    }
    ZmbvHashRuns(rows.data(), 10, 16, runs);
    EXPECT_TRUE(runs.empty());  // a strip shorter than a block has no runs
}

TEST(ZmbvMotion, CheapestXorPrefersFewerKindsOfBytesToFewerChangedPixels) {
    // Now a black block. Before: white where it is; 16 pixels to its right,
    // black with about 100 noisy pixels: fewer changed, but dearer to deflate.
    constexpr int W = 48, H = 16;
    std::vector<uint8_t> now(W * H * 4, 0), before(W * H * 4, 0);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            uint8_t* p = &before[(y * W + x) * 4];
            const uint32_t noise = Noise(x, y, 3) | 0x010101;
            if (x < 16) std::fill(p, p + 3, 0xFF);
            if (x >= 16 && x < 32 && (y * 16 + x - 16) % 5 < 2) std::memcpy(p, &noise, 3);
        }
    }
    const ZmbvPlane current{now.data(), W, H, 4}, previous{before.data(), W, H, 4};
    const ZmbvGrid grid{W, H, ZmbvBlockSide, ZmbvBlockSide};
    const ZmbvBlock b = grid.Block(0, 0);
    const ZmbvVector right{16, 0};
    const ZmbvChoice fewest = ZmbvChooseVector(current, previous, grid, b, &right, 1);
    ASSERT_TRUE(fewest.vector == right);
    ASSERT_LT(fewest.changes, 128u);
    const ZmbvChoice cheapest = ZmbvCheapestXor(current, previous, grid, b, fewest, &right, 1);
    EXPECT_TRUE(cheapest.vector == ZmbvVector{}) << cheapest.vector.dx;
    EXPECT_EQ(cheapest.changes, 256u);
    const ZmbvVector outside{40, 0};
    const ZmbvChoice kept = ZmbvCheapestXor(current, previous, grid, b, {right, 0}, &outside, 1);
    EXPECT_TRUE(kept.vector == right);  // an exact copy stays, and nothing outside is read
}

namespace {

// An uncompressed key frame and delta (level 0) whose bytes are easy to edit.
struct RawPair {
    RawPair() : pair(40, 20, 32, 0) {
        pair.Round(Paint(40, 20, 32, Window(0, 0)));
        key = pair.out;
        pair.Round(Paint(40, 20, 32, Window(0, 0)));
        delta = pair.out;  // every block a plain copy from where it is
    }
    bool Decode(const std::vector<uint8_t>& frame) {
        return decoder.Begin(40, 20) && decoder.Decode(key.data(), key.size()) &&
               decoder.Decode(frame.data(), frame.size());
    }
    Pair pair;
    ZmbvDecoder decoder;
    std::vector<uint8_t> key, delta;
};

}  // namespace

TEST(ZmbvDecoder, RefusesBadHeadersAndStrayDeltas) {
    RawPair raw;
    const std::vector<std::pair<int, uint8_t>> edits = {{1, 1}, {2, 0}, {3, 2}, {4, 0}, {4, 4},
                                                        {4, 6}, {4, 9}, {5, 0}, {6, 0}};
    for (auto [at, value] : edits) {
        std::vector<uint8_t> key = raw.key;
        key[at] = value;
        EXPECT_TRUE(raw.decoder.Begin(40, 20));
        EXPECT_FALSE(raw.decoder.Decode(key.data(), key.size())) << at << "=" << int(value);
        EXPECT_FALSE(raw.decoder.Decode(raw.delta.data(), raw.delta.size()));  // no key frame
        EXPECT_EQ(raw.decoder.PixelBytes(), 0);
    }
    EXPECT_TRUE(raw.Decode(raw.delta));
    EXPECT_FALSE(raw.decoder.Begin(0, 20));
}

TEST(ZmbvDecoder, ReadsZeroWhereVectorsReachPastTheEdge) {
    RawPair raw;
    std::vector<uint8_t> delta = raw.delta;
    delta[1] = static_cast<uint8_t>(-3 * 2);  // block 0 from x = -3, y = 2
    delta[2] = 2 * 2;
    ASSERT_TRUE(raw.Decode(delta));
    const std::vector<uint8_t> before = Expected(Paint(40, 20, 32, Window(0, 0)));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16 * 4; ++x) {
            const bool outside = x < 3 * 4 || y + 2 >= 20;
            const uint8_t want = outside ? 0 : before[(y + 2) * 160 + x - 3 * 4];
            ASSERT_EQ(raw.decoder.Picture()[y * 160 + x], want) << x << "," << y;
        }
    }
}

// Cut or damaged frames are refused or, where zlib only lost its flush
// marker, still decode right; either way no memory outside the buffers is
// touched, which the sanitized build checks.
TEST(ZmbvDecoder, SurvivesCutAndCorruptedFrames) {
    for (int level : {0, 6}) {
        Pair pair(37, 23, 16, level);
        std::vector<std::vector<uint8_t>> frames, pictures;
        for (int i = 0; i < 4; ++i) {
            pair.Round(Paint(37, 23, 16, Text(i)), i == 0);
            frames.push_back(pair.out);
            pictures.push_back(pair.decoder.Picture());
        }
        for (size_t n = 0; n < frames.size(); ++n) {
            std::mt19937 random(static_cast<unsigned>(n));
            for (size_t cut = 0; cut < frames[n].size() + 200; ++cut) {
                const bool whole = cut >= frames[n].size();  // then damage a few bytes
                std::vector<uint8_t> damaged(frames[n].begin(),
                                             frames[n].begin() + std::min(cut, frames[n].size()));
                for (size_t i = 0; whole && i < 1 + cut % 3; ++i) {
                    damaged[random() % damaged.size()] ^= static_cast<uint8_t>(1 + random() % 255);
                }
                ZmbvDecoder decoder;
                ASSERT_TRUE(decoder.Begin(37, 23));
                for (size_t i = 0; i < n; ++i) decoder.Decode(frames[i].data(), frames[i].size());
                const bool ok = decoder.Decode(damaged.data(), damaged.size());
                if (!whole) {
                    EXPECT_TRUE(ok ? level > 0 && decoder.Picture() == pictures[n] : true)
                        << n << "/" << cut;
                }
                if (!ok) {  // refused: the last picture stays as it was
                    EXPECT_EQ(decoder.Picture(), n > 0 ? pictures[n - 1] : std::vector<uint8_t>());
                }
                EXPECT_EQ(decoder.Picture().size(), n > 0 || ok ? pictures[n].size() : 0);
                if (!ok && n + 1 < frames.size()) {  // the stream is lost until a key frame
                    EXPECT_FALSE(decoder.Decode(frames[n + 1].data(), frames[n + 1].size()));
                }
                EXPECT_TRUE(decoder.Decode(frames[0].data(), frames[0].size()));
                EXPECT_EQ(decoder.Picture(), pictures[0]);
            }
        }
    }
}
