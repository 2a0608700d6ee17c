// Where a grab copies the screen to: a DIB section of the rectangle's size
// at the display's depth, selected into a memory context. A recording keeps
// one for all its grabs, so a grab copies the screen into memory that is
// already there, draws into it, and takes the frame's pixels with one
// memory copy; a fresh display-compatible bitmap per grab, read back with
// GetDIBits, cost several times as much. Palette displays (8 bits or less)
// have none: their frames carry the palette of the moment, read per grab.
#pragma once

#include <windows.h>

class ScreenCopy {
public:
    ScreenCopy(HDC display, int width, int height);
    ~ScreenCopy();
    ScreenCopy(const ScreenCopy&) = delete;
    ScreenCopy& operator=(const ScreenCopy&) = delete;

    // Made, and of this size at the display's present depth.
    bool Fits(HDC display, int width, int height) const;
    HDC Dc() const { return m_dc; }
    // The pixels as a frame block holds them, once drawing has finished.
    const void* Pixels() const;
    int BitCount() const { return m_bitCount; }

private:
    int m_width, m_height, m_bitCount;
    HDC m_dc = nullptr;
    HBITMAP m_section = nullptr;
    HGDIOBJ m_previous = nullptr;
    void* m_bits = nullptr;
};
