// Choice and coding of one Video 1 block: one colour, two colours, or two
// colours in each 2x2 quadrant, traded against their size in bytes.
#pragma once

#include <cstdint>

#include "codecs/Video1Pixels.h"

struct Video1BlockCode {
    int size;             // bytes used in `bytes`: 2, 6 or 18
    uint8_t bytes[18];    // as stored in the stream
    uint16_t pixels[16];  // what a decoder shows (RGB555, block order)
    uint32_t error;       // squared error of `pixels` against the block
};

// The squared error worth one byte of output at a quality of 0..10000.
uint32_t Video1Lambda(int quality);

// Codes the block in whichever way costs least (error + lambda * bytes).
// Returns false instead when keeping the previous picture, which differs from
// the block by `skipError`, costs no more; pass UINT32_MAX to forbid that.
bool ChooseBlockCode(const Video1BlockPixels& block, uint32_t lambda, uint32_t skipError,
                     Video1BlockCode& out);
