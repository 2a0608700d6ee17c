// Frames that tell which one they are: a band across the top holds the
// frame's number in 32 cells (white for a set bit, the highest first), and
// below it a noise-like background is scrolled by 7 rows a frame, so that a
// frame from the wrong place, or a few bytes shifted, never passes as
// another. Rows are 24-bit BGR.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class NumberedPicture {
public:
    NumberedPicture(int width, int height);

    // Frame number as a bottom-up DIB, rows padded to four bytes.
    void RenderDib(uint32_t number, uint8_t* dib) const;
    // The number a top-down picture (rows unpadded, as ffmpeg's raw video) shows.
    uint32_t ReadNumber(const uint8_t* topDown) const;
    // The first top-down row that differs from frame number's; -1 when none does.
    int FirstDifferentRow(uint32_t number, const uint8_t* topDown) const;

    size_t RowBytes() const { return size_t(m_width) * 3; }
    size_t TopDownBytes() const { return RowBytes() * size_t(m_height); }

private:
    static constexpr int Bits = 32;
    void Row(uint32_t number, int y, uint8_t* out) const;

    int m_width, m_height, m_band, m_cell;
    std::vector<uint8_t> m_background;  // top-down rows
};
