#include "engine/ScreenCopy.h"

ScreenCopy::ScreenCopy(HDC display, int width, int height)
    : m_width(width), m_height(height), m_bitCount(GetDeviceCaps(display, BITSPIXEL)) {
    if (m_bitCount <= 8) return;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = height;  // bottom-up, as frame blocks are
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = static_cast<WORD>(m_bitCount);
    format.bmiHeader.biCompression = BI_RGB;
    m_section = CreateDIBSection(display, &format, DIB_RGB_COLORS, &m_bits, nullptr, 0);
    if (!m_section) return;
    m_dc = CreateCompatibleDC(display);
    if (m_dc) m_previous = SelectObject(m_dc, m_section);
}

ScreenCopy::~ScreenCopy() {
    if (m_dc) {
        SelectObject(m_dc, m_previous);
        DeleteDC(m_dc);
    }
    if (m_section) DeleteObject(m_section);
}

bool ScreenCopy::Fits(HDC display, int width, int height) const {
    return m_dc && width == m_width && height == m_height &&
           GetDeviceCaps(display, BITSPIXEL) == m_bitCount;
}

const void* ScreenCopy::Pixels() const {
    GdiFlush();  // drawing may still be batched
    return m_bits;
}
