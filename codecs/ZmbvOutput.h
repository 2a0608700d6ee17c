// What a decoded ZMBV picture can be shown as, and its rows converted to
// the bitmaps players ask for: 32 and 24-bit B, G, R for every stream,
// 16-bit (5-5-5) for 15 and 16-bit streams, 8-bit palette indices for
// palettized ones.
#pragma once

#include <cstddef>
#include <cstdint>

// What a stream format's bit count says of the stream; files in the wild
// often say 0 there.
enum class ZmbvStreamKind { Unknown, Palettized, HighColour, TrueColour };

ZmbvStreamKind ZmbvKindFor(int bitCount);

// Whether a stream of this kind can be shown at `outBits` (before its first
// key frame tells more: an unknown one only at 24 and 32).
bool ZmbvKindShows(ZmbvStreamKind kind, int outBits);

// Whether a picture of this format (ZmbvFormat*) converts to `outBits`.
bool ZmbvFormatShows(uint8_t format, int outBits);

// One row of `width` decoded pixels of `format` to `outBits`; `palette`
// (R, G, B of each index) is used by palettized formats. The conversion
// must be one ZmbvFormatShows allows.
void ZmbvConvertRow(const uint8_t* from, uint8_t format, const uint8_t* palette, int width,
                    int outBits, uint8_t* to);
