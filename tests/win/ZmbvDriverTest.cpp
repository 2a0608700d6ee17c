// The ZMBV driver through the platform's compressor manager: installed for
// this process only, frames compressed and decompressed by handle, and read
// back exactly.
#include <windows.h>

#include <gtest/gtest.h>
#include <vfw.h>

#include <cstdint>
#include <vector>

#include "codecs/ZmbvCompressor.h"
#include "codecs/ZmbvDriver.h"
#include "engine/KeyFramePace.h"
#include "tests/win/ZmbvFrames.h"

namespace {

const DWORD ZMBV = mmioFOURCC('Z', 'M', 'B', 'V');
constexpr int Width = 321, Height = 199, Frames = 12, KeyEvery = 5;

struct Compressed {
    std::vector<uint8_t> data;
    bool key = false;
};

// Holds an open compressor-manager handle.
struct Handle {
    explicit Handle(UINT mode) : hic(ICOpen(ICTYPE_VIDEO, ZMBV, mode)) {}
    ~Handle() {
        if (hic) ICClose(hic);
    }
    HIC hic;
};

// Compresses frames 0..count-1 of the scene; `flags(i)` are frame i's
// ICCompress flags.
template <typename Flags>
std::vector<Compressed> CompressScene(HIC hic, int bitCount, int count, Flags flags,
                                      DWORD quality = ICQUALITY_DEFAULT) {
    BITMAPINFOHEADER in = RgbHeader(Width, Height, bitCount), out{};
    std::vector<Compressed> frames;
    EXPECT_EQ(ICCompressGetFormat(hic, &in, &out), ICERR_OK);
    EXPECT_EQ(ICCompressBegin(hic, &in, &out), ICERR_OK);
    std::vector<uint8_t> buffer(ICCompressGetSize(hic, &in, &out));
    EXPECT_GE(buffer.size(), out.biSizeImage);
    for (int i = 0; i < count; ++i) {
        std::vector<uint8_t> frame = SceneFrame(Width, Height, bitCount, i);
        DWORD aviFlags = 0xFFFF;
        EXPECT_EQ(ICCompress(hic, flags(i), &out, buffer.data(), &in, frame.data(), nullptr,
                             &aviFlags, i, 0, quality, nullptr, nullptr),
                  ICERR_OK)
            << i;
        frames.push_back({std::vector<uint8_t>(buffer.begin(), buffer.begin() + out.biSizeImage),
                          aviFlags == AVIIF_KEYFRAME});
        EXPECT_TRUE(aviFlags == AVIIF_KEYFRAME || aviFlags == 0) << i;
    }
    EXPECT_EQ(ICCompressEnd(hic), ICERR_OK);
    return frames;
}

DWORD KeyFlagEvery5(int i) { return i % KeyEvery == 0 ? ICCOMPRESS_KEYFRAME : 0; }

BITMAPINFOHEADER StreamHeader(int streamBits) {
    BITMAPINFOHEADER h = RgbHeader(Width, Height, streamBits);
    h.biCompression = ZMBV;
    return h;
}

// Decompresses one frame into `picture` (sized for `out`).
LRESULT Decompress(HIC hic, BITMAPINFOHEADER in, const std::vector<uint8_t>& data,
                   BITMAPINFOHEADER& out, std::vector<uint8_t>& picture) {
    in.biSizeImage = static_cast<DWORD>(data.size());
    picture.resize(out.biSizeImage);
    return ICDecompress(hic, 0, &in, const_cast<uint8_t*>(data.data()), &out, picture.data());
}

std::vector<uint8_t> Expected(int bitCount, int frame) {
    std::vector<uint8_t> dib = SceneFrame(Width, Height, bitCount, frame);
    return bitCount == 24 ? Widen24To32(dib, Width, Height) : dib;
}

// Compressed with a key frame asked for every five, decompressed through a
// second handle to the depth the decompressor proposes, compared bit for bit.
void RoundTrip(int bitCount) {
    Handle compressor(ICMODE_COMPRESS), decompressor(ICMODE_DECOMPRESS);
    ASSERT_NE(compressor.hic, nullptr);
    ASSERT_NE(decompressor.hic, nullptr);
    const std::vector<Compressed> frames =
        CompressScene(compressor.hic, bitCount, Frames, KeyFlagEvery5);
    ASSERT_EQ(frames.size(), static_cast<size_t>(Frames));
    const BITMAPINFOHEADER in = StreamHeader(bitCount == 16 ? 16 : 32);
    BITMAPINFOHEADER out{};
    ASSERT_EQ(ICDecompressGetFormat(decompressor.hic, &in, &out), ICERR_OK);
    EXPECT_EQ(out.biBitCount, bitCount == 16 ? 16 : 32);
    ASSERT_EQ(ICDecompressBegin(decompressor.hic, &in, &out), ICERR_OK);
    std::vector<uint8_t> picture;
    for (int i = 0; i < Frames; ++i) {
        EXPECT_EQ(frames[i].key, i % KeyEvery == 0) << i;
        // Scrolled rows and a moved rectangle are sent as motion, not anew.
        if (!frames[i].key) {
            EXPECT_LT(frames[i].data.size() * 3, frames[0].data.size()) << i;
        }
        ASSERT_EQ(Decompress(decompressor.hic, in, frames[i].data, out, picture), ICERR_OK) << i;
        ASSERT_TRUE(picture == Expected(bitCount, i)) << "frame " << i;
    }
    EXPECT_EQ(ICDecompressEnd(decompressor.hic), ICERR_OK);
}

class ZmbvDriver : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(ICInstall(ICTYPE_VIDEO, ZMBV, reinterpret_cast<LPARAM>(&ZmbvDriverProc),
                              nullptr, ICINSTALL_FUNCTION));
    }
    static void TearDownTestSuite() { ICRemove(ICTYPE_VIDEO, ZMBV, 0); }
};

}  // namespace

TEST_F(ZmbvDriver, DescribesItselfAndItsDefaultQuality) {
    Handle ic(ICMODE_COMPRESS);
    ASSERT_NE(ic.hic, nullptr);
    ICINFO info{};
    ASSERT_EQ(ICGetInfo(ic.hic, &info, sizeof info), sizeof info);
    EXPECT_STREQ(info.szName, L"ZMBV");
    EXPECT_STREQ(info.szDescription, L"ZMBV lossless screen codec");
    const DWORD flags = VIDCF_QUALITY | VIDCF_TEMPORAL | VIDCF_FASTTEMPORALC | VIDCF_FASTTEMPORALD;
    EXPECT_EQ(info.dwFlags & flags, flags);
    DWORD quality = 0;
    EXPECT_EQ(
        ICSendMessage(ic.hic, ICM_GETDEFAULTQUALITY, reinterpret_cast<DWORD_PTR>(&quality), 0),
        ICERR_OK);
    EXPECT_EQ(quality, 8500u);
}

TEST_F(ZmbvDriver, AcceptsRgbOf16To32BitsAtAnySizeButNot8Bit) {
    Handle ic(ICMODE_COMPRESS);
    ASSERT_NE(ic.hic, nullptr);
    for (int bits : {16, 24, 32}) {
        for (int side : {1, 17, 321}) {
            BITMAPINFOHEADER in = RgbHeader(side, 199, bits), out{};
            EXPECT_EQ(ICCompressQuery(ic.hic, &in, nullptr), ICERR_OK) << bits << " " << side;
            ASSERT_EQ(ICCompressGetFormat(ic.hic, &in, &out), ICERR_OK);
            EXPECT_EQ(out.biCompression, ZMBV);
            EXPECT_EQ(out.biBitCount, bits == 16 ? 16 : 32);
            EXPECT_EQ(out.biWidth, side);
            // At least the picture itself, packed as the stream keeps it.
            EXPECT_GE(out.biSizeImage, static_cast<DWORD>(side * 199 * out.biBitCount / 8));
            EXPECT_EQ(ICCompressQuery(ic.hic, &in, &out), ICERR_OK) << bits;
        }
    }
    BITMAPINFOHEADER eight = RgbHeader(Width, Height, 8), out{};
    EXPECT_NE(ICCompressQuery(ic.hic, &eight, nullptr), ICERR_OK);
    EXPECT_NE(ICCompressGetFormat(ic.hic, &eight, &out), ICERR_OK);
}

TEST_F(ZmbvDriver, RoundTrips32BitFramesExactly) { RoundTrip(32); }

TEST_F(ZmbvDriver, RoundTrips24BitFramesExactly) { RoundTrip(24); }

TEST_F(ZmbvDriver, RoundTrips16BitFramesExactly) { RoundTrip(16); }

TEST_F(ZmbvDriver, KeepsTheKeyRateItIsGiven) {
    Handle ic(ICMODE_COMPRESS);
    ASSERT_NE(ic.hic, nullptr);
    ICCOMPRESSFRAMES info{};
    info.lKeyRate = KeyEvery;
    info.lQuality = 8500;
    info.dwRate = 10;
    info.dwScale = 1;
    ASSERT_EQ(ICSendMessage(ic.hic, ICM_COMPRESS_FRAMES_INFO, reinterpret_cast<DWORD_PTR>(&info),
                            sizeof info),
              ICERR_OK);
    const std::vector<Compressed> frames = CompressScene(ic.hic, 32, Frames, [](int) { return 0; });
    for (int i = 0; i < static_cast<int>(frames.size()); ++i) {
        EXPECT_EQ(frames[i].key, i % KeyEvery == 0) << i;
    }
}

TEST_F(ZmbvDriver, HigherQualityCompressesHarder) {
    Handle ic(ICMODE_COMPRESS);
    ASSERT_NE(ic.hic, nullptr);
    auto keyOnly = [](int) { return static_cast<DWORD>(ICCOMPRESS_KEYFRAME); };
    const size_t fast = CompressScene(ic.hic, 32, 1, keyOnly, 0)[0].data.size();
    const size_t small = CompressScene(ic.hic, 32, 1, keyOnly, 10000)[0].data.size();
    EXPECT_LT(small, fast);
}

// A player asking for 32-bit output gets the 15-bit stream widened, each
// 5-bit channel spread over 8 bits.
TEST_F(ZmbvDriver, Widens16BitStreamsFor32BitOutput) {
    Handle compressor(ICMODE_COMPRESS), decompressor(ICMODE_DECOMPRESS);
    ASSERT_NE(decompressor.hic, nullptr);
    const std::vector<Compressed> frames = CompressScene(compressor.hic, 16, 2, KeyFlagEvery5);
    const BITMAPINFOHEADER in = StreamHeader(16);
    BITMAPINFOHEADER out = RgbHeader(Width, Height, 32);
    ASSERT_EQ(ICDecompressQuery(decompressor.hic, &in, &out), ICERR_OK);
    ASSERT_EQ(ICDecompressBegin(decompressor.hic, &in, &out), ICERR_OK);
    std::vector<uint8_t> picture;
    for (size_t i = 0; i < frames.size(); ++i) {
        ASSERT_EQ(Decompress(decompressor.hic, in, frames[i].data, out, picture), ICERR_OK);
    }
    const std::vector<uint8_t> source = SceneFrame(Width, Height, 16, 1);
    const size_t stride16 = (Width * 2 + 3) / 4 * 4;
    for (int y = 0; y < Height; y += 7) {
        for (int x = 0; x < Width; x += 5) {
            const uint8_t* p = &picture[(static_cast<size_t>(y) * Width + x) * 4];
            const unsigned word = source[y * stride16 + 2 * x] | source[y * stride16 + 2 * x + 1]
                                                                     << 8;
            const unsigned b = word & 31, g = word >> 5 & 31, r = word >> 10 & 31;
            ASSERT_EQ(p[0], b << 3 | b >> 2) << x << "," << y;
            ASSERT_EQ(p[1], g << 3 | g >> 2) << x << "," << y;
            ASSERT_EQ(p[2], r << 3 | r >> 2) << x << "," << y;
        }
    }
    BITMAPINFOHEADER eight = RgbHeader(Width, Height, 8), sixteen = RgbHeader(Width, Height, 16);
    const BITMAPINFOHEADER wide = StreamHeader(32);
    EXPECT_NE(ICDecompressQuery(decompressor.hic, &in, &eight), ICERR_OK);
    EXPECT_NE(ICDecompressQuery(decompressor.hic, &wide, &sixteen), ICERR_OK);
}

// A damaged delta frame is refused, and so is the intact one after it, whose
// base is gone; the next key frame starts the picture afresh. A cut key frame
// and one of noise are refused as well.
TEST_F(ZmbvDriver, RefusesCorruptedFramesWithoutHarm) {
    Handle compressor(ICMODE_COMPRESS), decompressor(ICMODE_DECOMPRESS);
    ASSERT_NE(decompressor.hic, nullptr);
    const std::vector<Compressed> frames = CompressScene(compressor.hic, 32, 7, KeyFlagEvery5);
    ASSERT_EQ(frames.size(), 7u);
    const BITMAPINFOHEADER in = StreamHeader(32);
    BITMAPINFOHEADER out = RgbHeader(Width, Height, 32);
    ASSERT_EQ(ICDecompressBegin(decompressor.hic, &in, &out), ICERR_OK);
    std::vector<uint8_t> picture;
    ASSERT_EQ(Decompress(decompressor.hic, in, frames[0].data, out, picture), ICERR_OK);
    std::vector<uint8_t> damaged = frames[1].data;
    for (size_t i = 1; i < damaged.size(); i += 3) damaged[i] ^= 0x5A;
    EXPECT_NE(Decompress(decompressor.hic, in, damaged, out, picture), ICERR_OK);
    EXPECT_NE(Decompress(decompressor.hic, in, frames[2].data, out, picture), ICERR_OK);
    std::vector<uint8_t> cut(frames[5].data.begin(),
                             frames[5].data.begin() + frames[5].data.size() / 2);
    EXPECT_NE(Decompress(decompressor.hic, in, cut, out, picture), ICERR_OK);
    std::vector<uint8_t> noise = frames[5].data;
    for (size_t i = 7; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 37 + 11);
    EXPECT_NE(Decompress(decompressor.hic, in, noise, out, picture), ICERR_OK);
    ASSERT_EQ(Decompress(decompressor.hic, in, frames[5].data, out, picture), ICERR_OK);
    ASSERT_EQ(Decompress(decompressor.hic, in, frames[6].data, out, picture), ICERR_OK);
    EXPECT_TRUE(picture == Expected(32, 6));
}

// How a player finds a decompressor for a stream's format.
TEST_F(ZmbvDriver, IsFoundForTheStreamsFormat) {
    BITMAPINFOHEADER in = StreamHeader(32), out = RgbHeader(Width, Height, 32);
    HIC found = ICLocate(ICTYPE_VIDEO, 0, &in, &out, ICMODE_DECOMPRESS);
    ASSERT_NE(found, nullptr);
    ICINFO info{};
    EXPECT_EQ(ICGetInfo(found, &info, sizeof info), sizeof info);
    EXPECT_STREQ(info.szDescription, L"ZMBV lossless screen codec");
    ICClose(found);
}

// The recording hurries late key frames with this quality; it must still be
// a level that compresses well, and faster than the default's.
TEST(ZmbvQuality, TheHurriedQualityGivesLevel6) {
    EXPECT_EQ(ZmbvCompressor::LevelFor(HurriedZmbvQuality), 6);
    EXPECT_EQ(ZmbvCompressor::LevelFor(8500), 8);
}
