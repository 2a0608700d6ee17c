// ZMBV ("Zip Motion Blocks Video") encoder: frames of 16-bit (5-5-5), 24-bit
// or 32-bit pixels into the format's 15-bit or 32-bit mode, without loss.
// Between key frames each 16x16 block is sent as a motion vector against the
// previous picture plus, where that is not an exact copy, the XOR of the two
// (see ZmbvMotion.h for how vectors are found).
// All frames of a key-frame span share one zlib stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/ZmbvDeflater.h"
#include "codecs/ZmbvFormat.h"
#include "codecs/ZmbvMotion.h"

class ZmbvEncoder {
public:
    static constexpr int DefaultLevel = 8;  // zlib's levels; 0 stores frames uncompressed
    // Delta frames are mostly the zeros of unchanged pixels: zlib's slower
    // levels take several times as long on them and save next to nothing.
    static constexpr int DeltaLevelCap = 6;
    // Key frames, one in several, are most of a quiet screen's bytes. Where
    // the last one shrank well (a quiet screen) the next takes zlib's
    // strongest level from the default up: measured on real screens, 4 %
    // fewer bytes there; on busy screens it would cost half the speed.
    static constexpr int KeyLevel = 9;
    static constexpr size_t KeyShrinkForStrong = 40;

    // Whether frames of this size and depth can be encoded: 16, 24 or 32
    // bits, sides 1..ZmbvMaxSide.
    static bool Supports(int width, int height, int bitCount);
    // The most bytes a frame can take (for a caller that must say in advance).
    static size_t MaxFrameBytes(int width, int height, int bitCount);

    // Starts a sequence at a compression level of 0..9 (higher: smaller,
    // slower; delta frames use at most DeltaLevelCap); false if the format
    // is not supported.
    bool Begin(int width, int height, int bitCount, int level);
    // Encodes one frame into `out` (replacing its contents). Rows start at
    // `topRow`, `stride` bytes apart: negative for bottom-up bitmaps. The
    // first frame after Begin is always a key frame. False if not begun.
    bool Encode(const uint8_t* topRow, ptrdiff_t stride, bool keyFrame, std::vector<uint8_t>& out);

private:
    void GuessScrolls();
    void BuildDelta();
    void AppendXor(const ZmbvBlock& b, ZmbvVector v);
    unsigned Words(const ZmbvBlock& b) const;  // as ZmbvCountChanges counts them

    ZmbvGrid m_grid;
    int m_bitCount = 0, m_pixelBytes = 0, m_level = 0;
    uint8_t m_format = 0, m_compression = ZmbvCompressionNone;
    bool m_begun = false, m_havePrevious = false;
    bool m_strongKeys = false;  // the last key frame shrank KeyShrinkForStrong times
    std::vector<uint8_t> m_current, m_previous;           // packed top-down pictures
    std::vector<uint64_t> m_currentRows, m_previousRows;  // row hashes of each block strip
    std::vector<uint64_t> m_runs;                         // of one previous strip
    ZmbvHashIndex m_runIndex;
    std::vector<int> m_scrolls;                           // per block, this frame's guess
    std::vector<ZmbvVector> m_vectors;                    // per block, of the last frame
    std::vector<uint8_t> m_work;                          // a delta frame before zlib
    ZmbvDeflater m_deflater;
};
