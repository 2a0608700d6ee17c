// A palettized ZMBV stream through the compressor manager: an 8-bit player
// gets the indices top-down or bottom-up and each palette change in its
// bitmap's colour table (and from ICM_DECOMPRESS_GET_PALETTE); a 24-bit one
// the colours, also where the stream format's bit count says 0.
#include <windows.h>

#include <gtest/gtest.h>
#include <vfw.h>

#include <cstdint>
#include <vector>

#include "codecs/ZmbvDriver.h"
#include "tests/support/ZmbvStreamMaker.h"
#include "tests/win/RgbHeader.h"

namespace {

const DWORD ZMBV = mmioFOURCC('Z', 'M', 'B', 'V');
constexpr int Width = 23, Height = 9;

struct Bitmap8 {  // a BITMAPINFO with room for 256 colours
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

std::vector<uint8_t> Palette(int seed) {
    std::vector<uint8_t> p(ZmbvPaletteBytes);
    for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<uint8_t>(i * 7 + seed * 13);
    return p;
}

std::vector<uint8_t> Indices(int frame) {
    std::vector<uint8_t> picture(Width * Height);
    for (int i = 0; i < Width * Height; ++i) picture[i] = static_cast<uint8_t>(i * 3 + frame * 5);
    return picture;
}

// The picture's row `y` (top-down) in a bitmap of `bits` and that height.
const uint8_t* Row(const std::vector<uint8_t>& out, LONG height, int bits, int y) {
    const size_t stride = DibStride(Width, static_cast<WORD>(bits));
    return out.data() + stride * (height < 0 ? y : Height - 1 - y);
}

class ZmbvPalette : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(ICInstall(ICTYPE_VIDEO, ZMBV, reinterpret_cast<LPARAM>(&ZmbvDriverProc),
                              nullptr, ICINSTALL_FUNCTION));
    }
    static void TearDownTestSuite() { ICRemove(ICTYPE_VIDEO, ZMBV, 0); }
};

}  // namespace

TEST_F(ZmbvPalette, ReachesEightBitPlayersAndColoursReachTheOthers) {
    for (LONG height : {LONG(Height), LONG(-Height)}) {
        for (int bits : {8, 24}) {
            ZmbvStreamMaker maker(Width, Height, ZmbvFormat8Bit, 8, 4, ZmbvCompressionZlib);
            HIC hic = ICOpen(ICTYPE_VIDEO, ZMBV, ICMODE_DECOMPRESS);
            ASSERT_NE(hic, nullptr);
            BITMAPINFOHEADER in = RgbHeader(Width, Height, bits == 8 ? 8 : 0);
            in.biCompression = ZMBV;
            Bitmap8 out{RgbHeader(Width, height, bits), {}};
            ASSERT_EQ(ICDecompressQuery(hic, &in, &out.header), ICERR_OK) << bits;
            ASSERT_EQ(ICDecompressBegin(hic, &in, &out.header), ICERR_OK);
            std::vector<uint8_t> picture(out.header.biSizeImage);
            for (int frame = 0; frame < 4; ++frame) {
                const std::vector<uint8_t> palette = Palette(frame / 2), indices = Indices(frame);
                std::vector<uint8_t> data =
                    frame == 0 ? maker.Key(indices, palette)
                               : maker.Delta(indices, [](int, int) { return ZmbvVector{1, -1}; },
                                             palette);
                in.biSizeImage = static_cast<DWORD>(data.size());
                ASSERT_EQ(ICDecompress(hic, 0, &in, data.data(), &out.header, picture.data()),
                          ICERR_OK);
                for (int y = 0; y < Height; ++y) {
                    for (int x = 0; x < Width; ++x) {
                        const uint8_t index = indices[y * Width + x];
                        const uint8_t* got = Row(picture, height, bits, y) + x * bits / 8;
                        if (bits == 8) {
                            ASSERT_EQ(*got, index) << frame << ": " << x << "," << y;
                        } else {
                            const uint8_t* rgb = &palette[3 * index];
                            ASSERT_TRUE(got[0] == rgb[2] && got[1] == rgb[1] && got[2] == rgb[0])
                                << frame << ": " << x << "," << y;
                        }
                    }
                }
                if (bits != 8) continue;
                Bitmap8 asked{out.header, {}};
                ASSERT_EQ(ICDecompressGetPalette(hic, &in, &asked.header), ICERR_OK);
                for (int i = 0; i < 256; ++i) {
                    const uint8_t* rgb = &palette[3 * i];
                    for (const RGBQUAD& c : {out.colours[i], asked.colours[i]}) {
                        ASSERT_TRUE(c.rgbRed == rgb[0] && c.rgbGreen == rgb[1] && c.rgbBlue == rgb[2])
                            << frame << ": colour " << i;
                    }
                }
            }
            ICDecompressEnd(hic);
            ICClose(hic);
        }
    }
}
