#include "convert/ColourConversion.h"

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

int EvenSide(int side) { return side + (side & 1); }

void BgraToYuv420(const uint8_t* bgra, std::ptrdiff_t stride, int width, int height,
                  YuvPicture& out) {
    out.width = EvenSide(width);
    out.height = EvenSide(height);
    out.y.resize(static_cast<size_t>(out.width) * out.height);
    out.u.resize(out.y.size() / 4);
    out.v.resize(out.y.size() / 4);
    const int halfWidth = out.width / 2;
    for (int cy = 0; cy < out.height / 2; ++cy) {
        for (int cx = 0; cx < halfWidth; ++cx) {
            int sumR = 0, sumG = 0, sumB = 0;
            for (int dy = 0; dy < 2; ++dy) {
                const int y = std::min(2 * cy + dy, height - 1);
                const uint8_t* row = bgra + stride * y;
                for (int dx = 0; dx < 2; ++dx) {
                    const uint8_t* p = row + 4 * std::min(2 * cx + dx, width - 1);
                    sumB += p[0];
                    sumG += p[1];
                    sumR += p[2];
                    out.y[static_cast<size_t>(2 * cy + dy) * out.width + 2 * cx + dx] =
                        Luma(p[2], p[1], p[0]);
                }
            }
            out.u[static_cast<size_t>(cy) * halfWidth + cx] = ChromaU(sumR, sumG, sumB);
            out.v[static_cast<size_t>(cy) * halfWidth + cx] = ChromaV(sumR, sumG, sumB);
        }
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
