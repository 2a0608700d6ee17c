// The built-in Video 1 compressor through the platform's compressor manager
// and AVI file layer, read back with the platform's own Video 1 decoder.
#include <windows.h>

#include <gtest/gtest.h>
#include <vfw.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "codecs/BuiltInCompressors.h"
#include "tests/support/Video1Decoder.h"
#include "tests/win/AviReader.h"
#include "tests/win/RgbHeader.h"
#include "tests/win/TestPaths.h"

namespace {

const DWORD MSVC = mmioFOURCC('M', 'S', 'V', 'C');
constexpr int Width = 320, Height = 240, Frames = 20;

// A 32-bit screen-like frame: a grey desktop, a gradient panel and a
// window with lines of glyph-like marks that moves right frame by frame.
std::vector<uint8_t> ScreenFrame(int frame) {
    std::vector<uint8_t> dib(static_cast<size_t>(Width) * Height * 4);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            uint8_t* p = &dib[(static_cast<size_t>(y) * Width + x) * 4];
            int r = 200, g = 204, b = 208;
            if (y < 40) r = g = b = 60 + x * 150 / Width;
            const int wx = x - 20 - 6 * frame, wy = Height - 1 - y - 60;
            if (wx >= 0 && wx < 160 && wy >= 0 && wy < 120) {
                const bool title = wy < 14;
                const unsigned cell = (wx / 6) * 131u + (wy / 10) * 977u;
                const bool ink = !title && wy % 10 < 7 && wx % 6 < 5 &&
                                 ((cell * 2654435761u) >> (wx % 6 + 5 * (wy % 10))) & 1;
                r = title ? 10 : ink ? 20 : 255;
                g = title ? 36 : ink ? 20 : 255;
                b = title ? 106 : ink ? 20 : 255;
            }
            p[0] = static_cast<uint8_t>(b);
            p[1] = static_cast<uint8_t>(g);
            p[2] = static_cast<uint8_t>(r);
            p[3] = 0;
        }
    }
    return dib;
}

// Where the written file goes: a temporary file removed afterwards, or the
// path in BRANTLE_VIDEO1_AVI, kept for the end-to-end check of the file.
struct AviPath {
    AviPath() {
        char kept[MAX_PATH];
        keep = GetEnvironmentVariableA("BRANTLE_VIDEO1_AVI", kept, sizeof kept) > 0;
        path = keep ? kept : TempPath("brantle_video1_test.avi");
        DeleteFileA(path.c_str());
    }
    ~AviPath() {
        if (!keep) DeleteFileA(path.c_str());
    }
    std::string path;
    bool keep;
};

template <typename T, ULONG (*Release)(T)>
struct Owned {
    T p = nullptr;
    ~Owned() {
        if (p) Release(p);
    }
};
using OwnedFile = Owned<PAVIFILE, AVIFileRelease>;
using OwnedStream = Owned<PAVISTREAM, AVIStreamRelease>;

struct AviLibrary {
    AviLibrary() { AVIFileInit(); }
    ~AviLibrary() { AVIFileExit(); }
};

void WriteAvi(const std::string& path) {
    OwnedFile file;
    ASSERT_EQ(AVIFileOpenA(&file.p, path.c_str(), OF_WRITE | OF_CREATE, nullptr), AVIERR_OK);
    AVISTREAMINFOA info{};
    info.fccType = streamtypeVIDEO;
    info.fccHandler = MSVC;
    info.dwScale = 1;
    info.dwRate = 10;
    SetRect(&info.rcFrame, 0, 0, Width, Height);
    OwnedStream raw, compressed;
    ASSERT_EQ(AVIFileCreateStreamA(file.p, &raw.p, &info), AVIERR_OK);
    AVICOMPRESSOPTIONS options{};
    options.fccType = streamtypeVIDEO;
    options.fccHandler = MSVC;
    options.dwKeyFrameEvery = 5;
    options.dwQuality = 8500;
    options.dwFlags = AVICOMPRESSF_KEYFRAMES | AVICOMPRESSF_VALID;
    ASSERT_EQ(AVIMakeCompressedStream(&compressed.p, raw.p, &options, nullptr), AVIERR_OK);
    BITMAPINFOHEADER format = RgbHeader(Width, Height, 32);
    ASSERT_EQ(AVIStreamSetFormat(compressed.p, 0, &format, sizeof format), AVIERR_OK);
    for (int i = 0; i < Frames; ++i) {
        std::vector<uint8_t> frame = ScreenFrame(i);
        ASSERT_EQ(AVIStreamWrite(compressed.p, i, 1, frame.data(), static_cast<LONG>(frame.size()),
                                 0, nullptr, nullptr),
                  AVIERR_OK)
            << i;
    }
}

// Decodes every frame in order with the platform's decoder into RGB555 and
// compares it with the frame that was written.
void DecodeAvi(const std::string& path) {
    AviContents avi = ReadAvi(path);
    ASSERT_TRUE(avi.opened);
    ASSERT_TRUE(avi.hasVideo);
    ASSERT_EQ(avi.length, Frames);
    ASSERT_EQ(avi.samples.size(), static_cast<size_t>(Frames));
    ASSERT_TRUE(avi.videoFormatRead);
    BITMAPINFOHEADER in = avi.videoFormat;
    EXPECT_EQ(in.biCompression, mmioFOURCC('C', 'R', 'A', 'M'));
    EXPECT_EQ(in.biBitCount, 16);
    BITMAPINFOHEADER out = RgbHeader(Width, Height, 16);
    HIC decoder = ICLocate(ICTYPE_VIDEO, 0, &in, &out, ICMODE_DECOMPRESS);
    ASSERT_NE(decoder, nullptr);
    ASSERT_EQ(ICDecompressBegin(decoder, &in, &out), ICERR_OK);
    std::vector<uint16_t> picture(static_cast<size_t>(Width) * Height);
    for (int i = 0; i < Frames; ++i) {
        AviSample& sample = avi.samples[i];
        EXPECT_EQ(sample.keyFrame, i % 5 == 0) << i;
        ASSERT_TRUE(sample.read) << i;
        in.biSizeImage = static_cast<DWORD>(sample.data.size());
        ASSERT_EQ(ICDecompress(decoder, 0, &in, sample.data.data(), &out, picture.data()),
                  ICERR_OK);
        for (uint16_t& p : picture) p &= 0x7FFF;
        EXPECT_GT(PictureSnr(picture, ScreenFrame(i).data(), Width, Height, 32), 30.0) << i;
    }
    ICDecompressEnd(decoder);
    ICClose(decoder);
}

class Video1Driver : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(InstallBuiltInCompressors()); }
};

}  // namespace

TEST_F(Video1Driver, CompressorManagerOpensOursForCompression) {
    HIC ic = ICOpen(ICTYPE_VIDEO, MSVC, ICMODE_COMPRESS);
    ASSERT_NE(ic, nullptr);
    ICINFO info{};
    ASSERT_EQ(ICGetInfo(ic, &info, sizeof info), sizeof info);
    EXPECT_STREQ(info.szDescription, L"Video 1 (built-in)");
    EXPECT_STREQ(info.szName, L"Video 1");
    const DWORD flags = VIDCF_QUALITY | VIDCF_TEMPORAL | VIDCF_FASTTEMPORALC;
    EXPECT_EQ(info.dwFlags & flags, flags);
    EXPECT_TRUE(ICQueryAbout(ic));
    DWORD quality = 0;
    EXPECT_EQ(ICSendMessage(ic, ICM_GETDEFAULTQUALITY, reinterpret_cast<DWORD_PTR>(&quality), 0),
              ICERR_OK);
    EXPECT_EQ(quality, 7500u);
    ICClose(ic);

    // The platform lists 'msvc' from its registry; opening that entry for
    // compression must reach ours, as the compressor catalogue does.
    bool listed = false;
    for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &info); ++i) {
        if ((info.fccHandler | 0x20202020) != (MSVC | 0x20202020)) continue;
        HIC found = ICOpen(ICTYPE_VIDEO, info.fccHandler, ICMODE_COMPRESS);
        ICINFO foundInfo{};
        listed = found && ICGetInfo(found, &foundInfo, sizeof foundInfo) &&
                 lstrcmpW(foundInfo.szDescription, L"Video 1 (built-in)") == 0;
        if (found) ICClose(found);
    }
    EXPECT_TRUE(listed);
}

// The platform lists an installed compressor by asking it for its
// description unopened; had ours refused, the listing would end at it and
// hide whatever was installed after it.
TEST_F(Video1Driver, IsListedUnopenedUnderItsOwnHandler) {
    bool listed = false;
    ICINFO info{};
    for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &info); ++i) {
        if (info.fccHandler == MSVC) listed = true;
    }
    EXPECT_TRUE(listed);
}

TEST_F(Video1Driver, AcceptsOnly16To32BitFramesWithSidesMultiplesOf4) {
    HIC ic = ICOpen(ICTYPE_VIDEO, MSVC, ICMODE_COMPRESS);
    ASSERT_NE(ic, nullptr);
    for (int bits : {16, 24, 32}) {
        BITMAPINFOHEADER in = RgbHeader(320, 240, bits);
        EXPECT_EQ(ICCompressQuery(ic, &in, nullptr), ICERR_OK) << bits;
        BITMAPINFOHEADER out{};
        EXPECT_EQ(ICCompressGetFormat(ic, &in, &out), ICERR_OK);
        EXPECT_EQ(ICCompressQuery(ic, &in, &out), ICERR_OK) << bits;
    }
    BITMAPINFOHEADER odd = RgbHeader(322, 240, 32), eight = RgbHeader(320, 240, 8);
    EXPECT_NE(ICCompressQuery(ic, &odd, nullptr), ICERR_OK);
    EXPECT_NE(ICCompressQuery(ic, &eight, nullptr), ICERR_OK);
    ICClose(ic);
}

// 16-bit input straight through ICCompress: key frames where asked, skips
// otherwise, and the quality the caller gives.
TEST_F(Video1Driver, CompressHonoursKeyFrameRequestsAndQuality) {
    HIC ic = ICOpen(ICTYPE_VIDEO, MSVC, ICMODE_COMPRESS);
    ASSERT_NE(ic, nullptr);
    BITMAPINFOHEADER in = RgbHeader(Width, Height, 16), out{};
    ASSERT_EQ(ICCompressGetFormat(ic, &in, &out), ICERR_OK);
    ASSERT_EQ(ICCompressBegin(ic, &in, &out), ICERR_OK);
    std::vector<uint8_t> frame(in.biSizeImage);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            const int rgb555 = ((x / 11) << 10) | ((y / 8) << 5) | ((x + y) / 18);
            frame[(y * Width + x) * 2] = static_cast<uint8_t>(rgb555 & 0xFF);
            frame[(y * Width + x) * 2 + 1] = static_cast<uint8_t>(rgb555 >> 8);
        }
    }
    std::vector<uint8_t> data(ICCompressGetSize(ic, &in, &out));
    Video1Decoder decoder(Width, Height);
    LONG frameNum = 0;
    auto compress = [&](DWORD flags, DWORD quality) {
        DWORD aviFlags = 0;
        EXPECT_EQ(ICCompress(ic, flags, &out, data.data(), &in, frame.data(), nullptr, &aviFlags,
                             frameNum++, 0, quality, nullptr, nullptr),
                  ICERR_OK);
        EXPECT_TRUE(decoder.Decode(data.data(), out.biSizeImage).ok);
        return std::make_pair(aviFlags == AVIIF_KEYFRAME, out.biSizeImage);
    };
    const auto first = compress(0, 10000), same = compress(0, 10000);
    const auto forced = compress(ICCOMPRESS_KEYFRAME, 10000),
               low = compress(ICCOMPRESS_KEYFRAME, 0);
    EXPECT_TRUE(first.first);
    EXPECT_FALSE(same.first);
    EXPECT_LT(same.second, 100u);
    EXPECT_TRUE(forced.first);
    EXPECT_EQ(forced.second, first.second);
    EXPECT_LT(low.second, first.second);
    EXPECT_GT(PictureSnr(decoder.Picture(), frame.data(), Width, Height, 16), 35.0);
    ICCompressEnd(ic);
    ICClose(ic);
}

TEST_F(Video1Driver, WritesAnAviThatThePlatformDecoderReadsBack) {
    AviLibrary library;
    AviPath avi;
    WriteAvi(avi.path);
    if (HasFatalFailure()) return;
    DecodeAvi(avi.path);
}
