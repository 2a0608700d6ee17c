#include "codecs/ZmbvOutput.h"

#include <cstring>

#include "codecs/ZmbvFormat.h"

namespace {

// The top bits repeated below, so white stays white.
inline uint8_t Widen5(unsigned v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }
inline uint8_t Widen6(unsigned v) { return static_cast<uint8_t>((v << 2) | (v >> 4)); }

// B, G, R of one decoded pixel.
inline void Colour(const uint8_t* from, uint8_t format, const uint8_t* palette, int x,
                   uint8_t* bgr) {
    if (ZmbvPalettized(format)) {
        const uint8_t* rgb = palette + 3 * from[x];
        bgr[0] = rgb[2], bgr[1] = rgb[1], bgr[2] = rgb[0];
        return;
    }
    if (format == ZmbvFormat15Bit || format == ZmbvFormat16Bit) {
        const unsigned w = from[2 * x] | from[2 * x + 1] << 8;
        const bool six = format == ZmbvFormat16Bit;
        bgr[0] = Widen5(w & 0x1F);
        bgr[1] = six ? Widen6(w >> 5 & 0x3F) : Widen5(w >> 5 & 0x1F);
        bgr[2] = Widen5(six ? w >> 11 : w >> 10 & 0x1F);
        return;
    }
    std::memcpy(bgr, from + ZmbvPixelBytes(format) * x, 3);
}

void To16(const uint8_t* from, uint8_t format, int width, uint8_t* to) {
    if (format == ZmbvFormat15Bit) {
        std::memcpy(to, from, static_cast<size_t>(width) * 2);
        return;
    }
    for (int x = 0; x < width; ++x) {  // 5-6-5 loses green's lowest bit
        const unsigned w = from[2 * x] | from[2 * x + 1] << 8;
        const unsigned v = (w & 0x1F) | (w >> 1 & 0x7FE0);
        to[2 * x] = static_cast<uint8_t>(v);
        to[2 * x + 1] = static_cast<uint8_t>(v >> 8);
    }
}

}  // namespace

ZmbvStreamKind ZmbvKindFor(int bitCount) {
    switch (bitCount) {
        case 1:
        case 2:
        case 4:
        case 8:
            return ZmbvStreamKind::Palettized;
        case 15:
        case 16:
            return ZmbvStreamKind::HighColour;
        case 24:
        case 32:
            return ZmbvStreamKind::TrueColour;
        default:
            return ZmbvStreamKind::Unknown;
    }
}

bool ZmbvKindShows(ZmbvStreamKind kind, int outBits) {
    if (outBits == 24 || outBits == 32) return true;
    return (outBits == 16 && kind == ZmbvStreamKind::HighColour) ||
           (outBits == 8 && kind == ZmbvStreamKind::Palettized);
}

bool ZmbvFormatShows(uint8_t format, int outBits) {
    if (ZmbvPixelBits(format) == 0) return false;
    if (outBits == 24 || outBits == 32) return true;
    return (outBits == 16 && (format == ZmbvFormat15Bit || format == ZmbvFormat16Bit)) ||
           (outBits == 8 && ZmbvPalettized(format));
}

void ZmbvConvertRow(const uint8_t* from, uint8_t format, const uint8_t* palette, int width,
                    int outBits, uint8_t* to) {
    if (outBits == 8) {
        std::memcpy(to, from, static_cast<size_t>(width));
    } else if (outBits == 16) {
        To16(from, format, width, to);
    } else if (outBits == 32 && format == ZmbvFormat32Bit) {
        std::memcpy(to, from, static_cast<size_t>(width) * 4);
    } else {
        const int step = outBits / 8;
        for (int x = 0; x < width; ++x, to += step) {
            Colour(from, format, palette, x, to);
            if (step == 4) to[3] = 0;
        }
    }
}
