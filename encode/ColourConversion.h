// Screen pictures to the 4:2:0 pictures H.264 is encoded from: BT.709
// coefficients at limited range (16 to 235), which players assume for HD and
// which the stream says it uses. An odd side is padded by repeating the last
// row or column; the stream crops it off again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct YuvPicture {
    int width = 0, height = 0;  // even: the picture's size rounded up
    std::vector<uint8_t> y, u, v;  // planes of width x height and half that each way
};

// The even size a picture of this side is encoded at.
int EvenSide(int side);

// bgra: 32-bit pixels, rows `stride` bytes apart, the first row at the top
// (pass the last row and a negative stride for a bottom-up bitmap).
void BgraToYuv420(const uint8_t* bgra, std::ptrdiff_t stride, int width, int height,
                  YuvPicture& out);

// One colour, as a decoder turns it back to red, green and blue (for tests
// and the converter's own checks).
struct Rgb {
    int r, g, b;
};
Rgb YuvToRgb(int y, int u, int v);
