// The decoder on hand-made streams of every format (tests/support's maker
// writes them from the format alone) and the conversions players see.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "codecs/ZmbvDecoder.h"
#include "codecs/ZmbvOutput.h"
#include "tests/support/ZmbvStreamMaker.h"

namespace {

struct Shape {
    int width, height, blockWidth, blockHeight;
};

// The last picture shifted by (2, 1), a few pixels redrawn; palettized
// values stay below their bits' range.
std::vector<uint8_t> NextPicture(const std::vector<uint8_t>& last, const Shape& s, uint8_t format,
                                 std::mt19937& random) {
    const int bytes = ZmbvPixelBytes(format), bits = ZmbvPixelBits(format);
    const unsigned mask = bits < 8 ? (1u << bits) - 1 : 0xFF;
    std::vector<uint8_t> next(static_cast<size_t>(s.width) * s.height * bytes);
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            const bool redraw = last.empty() || x < 2 || y < 1 || random() % 10 == 0;
            for (int i = 0; i < bytes; ++i) {
                const size_t at = (static_cast<size_t>(y) * s.width + x) * bytes + i;
                const size_t from = at - (static_cast<size_t>(s.width) + 2) * bytes;
                next[at] = static_cast<uint8_t>((redraw ? random() : last[from]) & mask);
            }
        }
    }
    return next;
}

// Vectors of every kind: still, the picture's shift, far ones, and the
// format's extremes, which reach past the edge.
ZmbvVector Vector(int column, int row, int frame) {
    switch ((column + 2 * row + frame) % 5) {
        case 0:
            return {0, 0};
        case 1:
            return {-2, -1};
        case 2:
            return {-64, 63};
        case 3:
            return {63, -64};
        default:
            return {column % 7 - 3, row % 5 - 2};
    }
}

std::vector<uint8_t> RandomPalette(std::mt19937& random) {
    std::vector<uint8_t> palette(ZmbvPaletteBytes);
    for (auto& c : palette) c = static_cast<uint8_t>(random());
    return palette;
}

}  // namespace

TEST(ZmbvFormats, EveryFormatBlockSizeAndCompressionDecodesAsMade) {
    const Shape shapes[] = {{29, 19, 16, 16}, {29, 19, 7, 5}, {13, 11, 1, 1}, {40, 9, 255, 255}};
    for (uint8_t format = ZmbvFormat1Bit; format <= ZmbvFormat32Bit; ++format) {
        for (const Shape& s : shapes) {
            for (uint8_t compression : {ZmbvCompressionNone, ZmbvCompressionZlib}) {
                SCOPED_TRACE(testing::Message() << "format " << int(format) << ", " << s.width << "x"
                                                << s.height << " blocks " << s.blockWidth << "x"
                                                << s.blockHeight << ", compression "
                                                << int(compression));
                std::mt19937 random(format * 31 + s.blockWidth);
                ZmbvStreamMaker maker(s.width, s.height, format, s.blockWidth, s.blockHeight,
                                      compression);
                ZmbvDecoder decoder;
                ASSERT_TRUE(decoder.Begin(s.width, s.height));
                std::vector<uint8_t> picture, palette = RandomPalette(random);
                for (int frame = 0; frame < 6; ++frame) {
                    picture = NextPicture(picture, s, format, random);
                    if (frame == 2 || frame == 4) palette = RandomPalette(random);
                    const std::vector<uint8_t> data =
                        frame == 0 ? maker.Key(picture, palette)
                                   : maker.Delta(
                                         picture,
                                         [frame](int c, int r) { return Vector(c, r, frame); },
                                         palette);
                    ASSERT_TRUE(decoder.Decode(data.data(), data.size())) << frame;
                    ASSERT_EQ(decoder.Format(), format);
                    ASSERT_EQ(decoder.Picture(), picture) << frame;
                    if (!ZmbvPalettized(format)) continue;
                    ASSERT_EQ(std::vector<uint8_t>(decoder.Palette(),
                                                   decoder.Palette() + ZmbvPaletteBytes),
                              palette)
                        << frame;
                }
            }
        }
    }
}

// A few bytes that claim the largest picture are refused (the sanitized
// build's allocator would also report an attempt at gigabytes).
TEST(ZmbvFormats, ATinyKeyFrameClaimingAHugePictureIsRefused) {
    ZmbvStreamMaker maker(64, 64, ZmbvFormat32Bit, 16, 16, ZmbvCompressionZlib);
    const std::vector<uint8_t> small = maker.Key(std::vector<uint8_t>(64 * 64 * 4, 0));
    ZmbvDecoder decoder;
    ASSERT_TRUE(decoder.Begin(ZmbvMaxSide, ZmbvMaxSide));
    EXPECT_FALSE(decoder.Decode(small.data(), small.size()));
    EXPECT_TRUE(decoder.Picture().empty());
    EXPECT_FALSE(decoder.Begin(ZmbvMaxSide + 1, 1));
}

TEST(ZmbvOutput, WidensEveryFormatAsPlayersShowIt) {
    std::vector<uint8_t> palette(ZmbvPaletteBytes, 0);
    palette[3 * 7] = 0x12, palette[3 * 7 + 1] = 0x34, palette[3 * 7 + 2] = 0x56;  // R, G, B
    struct Case {
        uint8_t format;
        std::vector<uint8_t> pixel, bgr;
    };
    const Case cases[] = {
        {ZmbvFormat8Bit, {7}, {0x56, 0x34, 0x12}},
        {ZmbvFormat1Bit, {7}, {0x56, 0x34, 0x12}},
        {ZmbvFormat15Bit, {0xFF, 0x7F}, {0xFF, 0xFF, 0xFF}},
        {ZmbvFormat15Bit, {0x21, 0x04}, {0x08, 0x08, 0x08}},  // 1 in each channel
        {ZmbvFormat16Bit, {0xE0, 0x07}, {0x00, 0xFF, 0x00}},
        {ZmbvFormat16Bit, {0x21, 0x08}, {0x08, 0x04, 0x08}},  // 1, 1, 1 of 5, 6, 5 bits
        {ZmbvFormat24Bit, {1, 2, 3}, {1, 2, 3}},
        {ZmbvFormat32Bit, {1, 2, 3, 0}, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        for (int bits : {24, 32}) {
            ASSERT_TRUE(ZmbvFormatShows(c.format, bits));
            std::vector<uint8_t> out(4, 0xEE);
            ZmbvConvertRow(c.pixel.data(), c.format, palette.data(), 1, bits, out.data());
            EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 3), c.bgr) << int(c.format);
            EXPECT_EQ(out[3], bits == 32 ? 0 : 0xEE) << int(c.format);
        }
    }
    const uint8_t sixteen[] = {0xFF, 0xFF, 0x1F, 0xF8};  // 5-6-5 white, magenta
    uint8_t out[4];
    ZmbvConvertRow(sixteen, ZmbvFormat16Bit, palette.data(), 2, 16, out);
    EXPECT_EQ((std::vector<uint8_t>(out, out + 4)), (std::vector<uint8_t>{0xFF, 0x7F, 0x1F, 0x7C}));
    EXPECT_FALSE(ZmbvFormatShows(ZmbvFormat32Bit, 16));
    EXPECT_FALSE(ZmbvFormatShows(ZmbvFormat15Bit, 8));
    EXPECT_TRUE(ZmbvFormatShows(ZmbvFormat4Bit, 8));
    EXPECT_TRUE(ZmbvKindShows(ZmbvKindFor(0), 32));
    EXPECT_FALSE(ZmbvKindShows(ZmbvKindFor(0), 16));
    EXPECT_TRUE(ZmbvKindShows(ZmbvKindFor(15), 16));
    EXPECT_TRUE(ZmbvKindShows(ZmbvKindFor(4), 8));
}
