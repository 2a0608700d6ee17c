#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "codecs/Video1Encoder.h"
#include "tests/support/Video1Decoder.h"

namespace {

struct Rgb {
    int r, g, b;
};
using Painter = std::function<Rgb(int x, int y)>;

// A bottom-up DIB of the given depth; y counts from the bottom row.
std::vector<uint8_t> MakeDib(int width, int height, int bitCount, const Painter& paint) {
    const size_t stride = Video1Encoder::RowStride(width, bitCount);
    std::vector<uint8_t> dib(stride * height, 0xEE);  // padding must not matter
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = paint(x, y);
            uint8_t* p = dib.data() + y * stride + x * bitCount / 8;
            if (bitCount == 16) {
                const int v = ((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3);
                p[0] = static_cast<uint8_t>(v & 0xFF);
                p[1] = static_cast<uint8_t>(v >> 8);
            } else {
                p[0] = static_cast<uint8_t>(c.b);
                p[1] = static_cast<uint8_t>(c.g);
                p[2] = static_cast<uint8_t>(c.r);
            }
        }
    }
    return dib;
}

// Components exactly representable in 5 bits (bit replication).
int Exact(int v5) { return (v5 << 3) | (v5 >> 2); }

Rgb Natural(int x, int y) {
    const int noise = static_cast<int>((x * 7919u + y * 104729u) * 2654435761u >> 27);
    return {(x * 3 + noise) & 255, (y * 2 + x) & 255, (128 + ((x ^ y) & 63) - noise) & 255};
}

class Coder {
public:
    Coder(int width, int height, int bitCount, int keyEvery = 0)
        : width(width),
          height(height),
          bitCount(bitCount),
          decoder(width, height),
          out(Video1Encoder::MaxFrameBytes(width, height)) {
        EXPECT_TRUE(encoder.Begin(width, height, bitCount, keyEvery));
    }
    Video1Decoded Round(const std::vector<uint8_t>& dib, int quality, bool forceKey = false) {
        last = encoder.Encode(dib.data(), quality, forceKey, out.data());
        EXPECT_LE(last.size, out.size());
        const Video1Decoded d = decoder.Decode(out.data(), last.size);
        EXPECT_TRUE(d.ok);
        return d;
    }
    double Snr(const std::vector<uint8_t>& dib) const {
        return PictureSnr(decoder.Picture(), dib.data(), width, height, bitCount);
    }

    int width, height, bitCount;
    Video1Encoder encoder;
    Video1Decoder decoder;
    std::vector<uint8_t> out;
    Video1FrameResult last{};
};

}  // namespace

TEST(Video1Encoder, AcceptsOnly16To32BitsWithSidesMultiplesOf4) {
    for (int bits : {16, 24, 32}) EXPECT_TRUE(Video1Encoder::Supports(320, 240, bits)) << bits;
    EXPECT_FALSE(Video1Encoder::Supports(322, 240, 32));
    EXPECT_FALSE(Video1Encoder::Supports(320, 242, 32));
    EXPECT_FALSE(Video1Encoder::Supports(0, 240, 32));
    EXPECT_FALSE(Video1Encoder::Supports(-4, 240, 32));
    EXPECT_FALSE(Video1Encoder::Supports(320, 240, 8));
    Video1Encoder encoder;
    EXPECT_FALSE(encoder.Begin(322, 240, 32, 0));
    EXPECT_FALSE(encoder.Begin(320, 240, 15, 0));
}

TEST(Video1Encoder, FlatAndTwoColourBlocksDecodeExactlyAtEveryDepth) {
    // Pairs differing in one component only and pairs of equal brightness
    // must split as well as black and white.
    const Rgb pairs[][2] = {{{0, 0, 0}, {255, 255, 255}},
                            {{Exact(4), Exact(20), Exact(9)}, {Exact(4), Exact(21), Exact(9)}},
                            {{Exact(30), Exact(0), Exact(0)}, {Exact(0), Exact(0), Exact(30)}}};
    for (int bits : {16, 24, 32}) {
        Coder c(64, 32, bits);
        const auto dib = MakeDib(64, 32, bits, [&](int x, int y) {
            const int block = (y / 4) * 16 + x / 4;
            const int pattern = block * 2654435761u >> 16;  // a different shape per block
            if (block % 4 == 3) return pairs[0][0];
            return pairs[block % 3][(pattern >> ((y % 4) * 4 + x % 4)) & 1];
        });
        const Video1Decoded d = c.Round(dib, 10000);
        EXPECT_EQ(c.Snr(dib), 99.0) << bits;
        EXPECT_GT(d.fillBlocks, 0);
        EXPECT_GT(d.twoColourBlocks, 0);
        EXPECT_EQ(d.eightColourBlocks, 0);
    }
}

TEST(Video1Encoder, TwoColoursPerQuadrantNeedEightColourBlocksAtTopQuality) {
    Coder c(16, 16, 32);
    const auto dib = MakeDib(16, 16, 32, [](int x, int y) {
        const int quadrant = (y / 2) * 8 + x / 2;
        const bool on = ((x + y) & 1) != 0;
        return Rgb{Exact(quadrant % 32), Exact(on ? 31 : 3), Exact((quadrant * 5) % 32)};
    });
    const Video1Decoded d = c.Round(dib, 10000);
    EXPECT_EQ(c.Snr(dib), 99.0);
    EXPECT_EQ(d.eightColourBlocks, 16);
}

TEST(Video1Encoder, FillWithRedOfOneIsNeverReadAsASkip) {
    Coder c(8, 8, 32);
    const auto dib = MakeDib(8, 8, 32, [](int, int) { return Rgb{Exact(1), Exact(12), Exact(6)}; });
    const Video1Decoded d = c.Round(dib, 0);
    EXPECT_FALSE(d.usedSkips);
    EXPECT_EQ(d.fillBlocks, 4);
    for (uint16_t p : c.decoder.Picture()) {
        EXPECT_NE(p >> 10, 1);
        EXPECT_EQ(p & 0x3FF, (12 << 5) | 6);
    }
}

TEST(Video1Encoder, UnchangedBlocksAreSkippedAndKeepThePicture) {
    Coder c(256, 256, 24);  // 4096 blocks: more than one skip code can count
    auto dib = MakeDib(256, 256, 24, Natural);
    c.Round(dib, 8500);
    const auto before = c.decoder.Picture();

    const Video1Decoded same = c.Round(dib, 8500);
    EXPECT_FALSE(c.last.keyFrame);
    EXPECT_TRUE(same.usedSkips);
    EXPECT_EQ(c.last.size, 5u * 2);  // four runs of 1023 and one of 4
    EXPECT_EQ(c.decoder.Picture(), before);

    const size_t stride = Video1Encoder::RowStride(256, 24);
    for (int y = 100; y < 104; ++y) std::fill_n(&dib[y * stride + 3 * 100], 12, uint8_t{255});
    const Video1Decoded one = c.Round(dib, 8500);
    EXPECT_TRUE(one.usedSkips);
    EXPECT_EQ(one.fillBlocks, 1);
    EXPECT_EQ(one.twoColourBlocks + one.eightColourBlocks, 0);
    EXPECT_EQ(c.decoder.Picture()[101 * 256 + 102], 0x7FFF);
}

TEST(Video1Encoder, KeyFramesComeEveryNthFrameOrOnRequestAndNeverSkip) {
    Coder c(32, 32, 32, 5);
    const auto dib = MakeDib(32, 32, 32, Natural);
    std::vector<int> keys;
    for (int frame = 0; frame < 13; ++frame) {
        const Video1Decoded d = c.Round(dib, 8500, frame == 7);
        if (c.last.keyFrame) {
            keys.push_back(frame);
            EXPECT_FALSE(d.usedSkips) << frame;
        }
    }
    // A requested key frame restarts the count.
    EXPECT_EQ(keys, (std::vector<int>{0, 5, 7, 12}));
}

TEST(Video1Encoder, QualityTradesSizeForFidelity) {
    const auto dib = MakeDib(128, 64, 32, Natural);
    Coder best(128, 64, 32), middle(128, 64, 32), worst(128, 64, 32);
    best.Round(dib, 10000);
    middle.Round(dib, 8500);
    worst.Round(dib, 0);
    EXPECT_GT(best.Snr(dib), middle.Snr(dib));
    EXPECT_GT(middle.Snr(dib), worst.Snr(dib));
    EXPECT_GT(best.last.size, middle.last.size);
    EXPECT_GT(middle.last.size, worst.last.size);
    EXPECT_GT(best.Snr(dib), 30.0);
}

TEST(Video1Encoder, MovingContentStaysCloseFrameAfterFrame) {
    Coder c(160, 96, 32, 10);
    for (int frame = 0; frame < 15; ++frame) {
        const auto dib = MakeDib(160, 96, 32, [frame](int x, int y) {
            const bool inBox = x >= 10 + frame * 5 && x < 60 + frame * 5 && y >= 20 && y < 70;
            return inBox ? Rgb{250, 250, 250} : Natural(x, y);
        });
        c.Round(dib, 8500);
        EXPECT_GT(c.Snr(dib), 24.0) << frame;
    }
}
