#include "frame/PictureColours.h"

void ReplacePureRed(uint8_t* bits, int width, int height, int stride, uint32_t colour) {
    const uint8_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    for (int y = 0; y < height; ++y) {
        uint8_t* pixel = bits + static_cast<long>(y) * stride;
        for (int x = 0; x < width; ++x, pixel += 3) {
            if (pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 255) {
                pixel[0] = blue;
                pixel[1] = green;
                pixel[2] = red;
            }
        }
    }
}
