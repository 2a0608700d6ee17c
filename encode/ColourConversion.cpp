#include "encode/ColourConversion.h"

#include <algorithm>

namespace {

// BT.709 luma weights, and the limited range's spans of 219 and 224 levels.
constexpr double Kr = 0.2126, Kb = 0.0722, Kg = 1.0 - Kr - Kb;
constexpr int Shift = 16;
constexpr int Scale(double c) { return static_cast<int>(c * (1 << Shift) + (c < 0 ? -0.5 : 0.5)); }
constexpr int YR = Scale(Kr * 219 / 255), YG = Scale(Kg * 219 / 255), YB = Scale(Kb * 219 / 255);
constexpr double CbDen = 2 * (1 - Kb), CrDen = 2 * (1 - Kr);
constexpr int UR = Scale(-Kr / CbDen * 224 / 255), UG = Scale(-Kg / CbDen * 224 / 255),
              UB = Scale(0.5 * 224 / 255);
constexpr int VR = Scale(0.5 * 224 / 255), VG = Scale(-Kg / CrDen * 224 / 255),
              VB = Scale(-Kb / CrDen * 224 / 255);
constexpr int Round = 1 << (Shift - 1);

uint8_t Luma(int r, int g, int b) {
    return static_cast<uint8_t>(16 + ((YR * r + YG * g + YB * b + Round) >> Shift));
}

// r, g, b: sums of four pixels.
uint8_t ChromaU(int r, int g, int b) {
    return static_cast<uint8_t>(128 + ((UR * r + UG * g + UB * b + 4 * Round) >> (Shift + 2)));
}
uint8_t ChromaV(int r, int g, int b) {
    return static_cast<uint8_t>(128 + ((VR * r + VG * g + VB * b + 4 * Round) >> (Shift + 2)));
}

}  // namespace

namespace {

// One pair of rows into a row of luma each and a row of chroma; `below` is
// the same as `above` for the last row of an odd picture, and a picture of
// odd width repeats its last pixel.
void ConvertRowPair(const uint8_t* above, const uint8_t* below, int width, uint8_t* lumaAbove,
                    uint8_t* lumaBelow, uint8_t* u, uint8_t* v) {
    const int pairs = width / 2;
    for (int cx = 0; cx < pairs; ++cx, above += 8, below += 8) {
        lumaAbove[2 * cx] = Luma(above[2], above[1], above[0]);
        lumaAbove[2 * cx + 1] = Luma(above[6], above[5], above[4]);
        lumaBelow[2 * cx] = Luma(below[2], below[1], below[0]);
        lumaBelow[2 * cx + 1] = Luma(below[6], below[5], below[4]);
        const int r = above[2] + above[6] + below[2] + below[6];
        const int g = above[1] + above[5] + below[1] + below[5];
        const int b = above[0] + above[4] + below[0] + below[4];
        u[cx] = ChromaU(r, g, b);
        v[cx] = ChromaV(r, g, b);
    }
    if (width & 1) {
        const uint8_t ya = Luma(above[2], above[1], above[0]), yb = Luma(below[2], below[1], below[0]);
        lumaAbove[2 * pairs] = lumaAbove[2 * pairs + 1] = ya;
        lumaBelow[2 * pairs] = lumaBelow[2 * pairs + 1] = yb;
        const int r = 2 * (above[2] + below[2]), g = 2 * (above[1] + below[1]),
                  b = 2 * (above[0] + below[0]);
        u[pairs] = ChromaU(r, g, b);
        v[pairs] = ChromaV(r, g, b);
    }
}

}  // namespace

int EvenSide(int side) { return side + (side & 1); }

void BgraToYuv420(const uint8_t* bgra, std::ptrdiff_t stride, int width, int height,
                  YuvPicture& out) {
    out.width = EvenSide(width);
    out.height = EvenSide(height);
    out.y.resize(static_cast<size_t>(out.width) * out.height);
    out.u.resize(out.y.size() / 4);
    out.v.resize(out.y.size() / 4);
    const size_t lumaRow = out.width, chromaRow = out.width / 2;
    for (int cy = 0; cy < out.height / 2; ++cy) {
        const uint8_t* above = bgra + stride * (2 * cy);
        const uint8_t* below = 2 * cy + 1 < height ? above + stride : above;
        uint8_t* luma = out.y.data() + lumaRow * 2 * cy;
        ConvertRowPair(above, below, width, luma, luma + lumaRow, out.u.data() + chromaRow * cy,
                       out.v.data() + chromaRow * cy);
    }
}

Rgb YuvToRgb(int y, int u, int v) {
    const double luma = (y - 16) * 255.0 / 219, cb = (u - 128) * 255.0 / 224,
                 cr = (v - 128) * 255.0 / 224;
    auto clamp = [](double c) { return std::clamp(static_cast<int>(c + 0.5), 0, 255); };
    const double r = luma + CrDen * cr, b = luma + CbDen * cb;
    const double g = (luma - Kr * r - Kb * b) / Kg;
    return {clamp(r), clamp(g), clamp(b)};
}
