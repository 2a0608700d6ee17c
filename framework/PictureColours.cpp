#include "framework/PictureColours.h"

namespace {

struct Channels {
    uint8_t red, green, blue;
};

Channels ChannelsOf(uint32_t colour) {
    return {static_cast<uint8_t>(colour & 0xFF), static_cast<uint8_t>((colour >> 8) & 0xFF),
            static_cast<uint8_t>((colour >> 16) & 0xFF)};
}

}  // namespace

void ReplaceColour(uint8_t* bits, int width, int height, int stride, uint32_t from, uint32_t to) {
    const Channels old = ChannelsOf(from), now = ChannelsOf(to);
    for (int y = 0; y < height; ++y) {
        uint8_t* pixel = bits + static_cast<long>(y) * stride;
        for (int x = 0; x < width; ++x, pixel += 3) {
            if (pixel[0] == old.blue && pixel[1] == old.green && pixel[2] == old.red) {
                pixel[0] = now.blue;
                pixel[1] = now.green;
                pixel[2] = now.red;
            }
        }
    }
}
