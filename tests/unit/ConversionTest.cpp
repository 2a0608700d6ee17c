#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "encode/ColourConversion.h"
#include "convert/ConversionRules.h"
#include "encode/SoundConversion.h"

TEST(ConvertColour, FlatColoursComeBackWithinTwoLevelsAndOddSidesArePadded) {
    const int width = 5, height = 3;
    for (const Rgb c : {Rgb{0, 0, 0}, Rgb{255, 255, 255}, Rgb{128, 128, 128}, Rgb{255, 0, 0},
                        Rgb{0, 255, 0}, Rgb{0, 0, 255}, Rgb{212, 208, 200}, Rgb{10, 36, 106},
                        Rgb{58, 110, 165}, Rgb{255, 255, 225}}) {
        std::vector<uint8_t> bgra;
        for (int i = 0; i < width * height; ++i)
            bgra.insert(bgra.end(), {uint8_t(c.b), uint8_t(c.g), uint8_t(c.r), 255});
        YuvPicture yuv;
        BgraToYuv420(bgra.data(), 4 * width, width, height, yuv);
        ASSERT_EQ(yuv.width, 6);
        ASSERT_EQ(yuv.height, 4);
        for (size_t i = 0; i < yuv.y.size(); ++i) ASSERT_EQ(yuv.y[i], yuv.y[0]) << i;
        const Rgb back = YuvToRgb(yuv.y[0], yuv.u[0], yuv.v[0]);
        EXPECT_LE(std::abs(back.r - c.r), 2) << c.r << "," << c.g << "," << c.b;
        EXPECT_LE(std::abs(back.g - c.g), 2) << c.r << "," << c.g << "," << c.b;
        EXPECT_LE(std::abs(back.b - c.b), 2) << c.r << "," << c.g << "," << c.b;
    }
}

TEST(ConvertColour, ABottomUpBitmapReadWithANegativeStrideKeepsTheTopRowFirst) {
    // Two rows stored bottom-up: white is the top row of the picture.
    std::vector<uint8_t> bgra = {0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255};
    YuvPicture yuv;
    BgraToYuv420(bgra.data() + 8, -8, 2, 2, yuv);
    EXPECT_EQ(yuv.y[0], 235);
    EXPECT_EQ(yuv.y[2], 16);
}

TEST(ConvertSound, ATonePiecemealKeepsItsPitchLengthAndBytes) {
    const PcmLayout in{8000, 1, 8};
    std::vector<uint8_t> tone(8000);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = uint8_t(128 + 100 * std::sin(2 * M_PI * 440 * double(i) / 8000));
    std::vector<int16_t> whole, pieces;
    PcmResampler all(in, AacRateFor(in.rate));
    all.Feed(tone.data(), tone.size(), whole);
    PcmResampler cut(in, AacRateFor(in.rate));
    for (size_t at = 0; at < tone.size(); at += 333)
        cut.Feed(tone.data() + at, std::min<size_t>(333, tone.size() - at), pieces);
    EXPECT_EQ(whole, pieces);
    EXPECT_NEAR(double(whole.size()), 48000, 6);
    int crossings = 0;
    for (size_t i = 1; i < whole.size(); ++i) crossings += (whole[i - 1] < 0) != (whole[i] < 0);
    EXPECT_NEAR(crossings, 880, 4);

    const PcmLayout stereo{44100, 2, 16};
    const uint8_t frame[] = {0x34, 0x12, 0xCC, 0xED};  // 0x1234, -0x1234
    std::vector<int16_t> same;
    PcmResampler copy(stereo, AacRateFor(stereo.rate));
    copy.Feed(frame, 1, same);
    copy.Feed(frame + 1, 3, same);
    EXPECT_EQ(same, (std::vector<int16_t>{0x1234, -0x1234}));
    EXPECT_EQ(AacLcConfig(44100, 2), (std::vector<uint8_t>{0x12, 0x10}));
    EXPECT_EQ(AacLcConfig(48000, 1), (std::vector<uint8_t>{0x11, 0x88}));
}

TEST(ConvertRules, SkippedPositionsLengthenTheFrameBefore) {
    const auto frames = FramesOf({0, 0, 10, 0, 12, 0, 0, 9});
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].chunk, 2u);
    EXPECT_EQ(frames[0].position, 0u);
    EXPECT_EQ(frames[0].positions, 4u);
    EXPECT_EQ(frames[1].position, 4u);
    EXPECT_EQ(frames[1].positions, 3u);
    EXPECT_EQ(frames[2].positions, 1u);
    EXPECT_TRUE(FramesOf({0, 0}).empty());
}

TEST(ConvertRules, NamesAndTheCommandLine) {
    EXPECT_EQ(Mp4PathFor("C:\\v.x\\take (2).avi"), "C:\\v.x\\take (2).mp4");
    EXPECT_EQ(Mp4PathFor("C:\\v.x\\take"), "C:\\v.x\\take.mp4");
    EXPECT_EQ(SplitCommandLine("\"C:\\a b\\avi2mpg.exe\" /q \"C:\\my films\\t.avi\" out.mp4"),
              (std::vector<std::string>{"/q", "C:\\my films\\t.avi", "out.mp4"}));
    const CommandLine quiet = ParseCommandLine({"/q", "in.avi"});
    EXPECT_TRUE(quiet.quiet);
    EXPECT_EQ(quiet.input, "in.avi");
    EXPECT_EQ(quiet.error, "");
    EXPECT_NE(ParseCommandLine({"/q"}).error, "");
    EXPECT_TRUE(ParseCommandLine({"/preset", "a.avi"}).preset);
    EXPECT_NE(ParseCommandLine({"/preset", "/q", "a.avi"}).error, "");
    EXPECT_NE(ParseCommandLine({"/x", "a.avi"}).error, "");
    EXPECT_NE(ParseCommandLine({"a.avi", "b.mp4", "c"}).error, "");
    EXPECT_EQ(ParseCommandLine({}).input, "");
    EXPECT_EQ(ProgressTimesText(12.4, 0.01), "Elapsed 0:12");
    EXPECT_EQ(ProgressTimesText(12.4, 0.25), "Elapsed 0:12, about 0:37 left");
    EXPECT_EQ(ProgressTimesText(3725, 0.5), "Elapsed 1:02:05, about 1:02:05 left");
}
