#include "tests/win/ScreenProbe.h"

#include "framework/ScopedHandles.h"

ScreenShot::ScreenShot(const RECT& area) : m_area(area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    ScopedWindowDC screen(nullptr);
    void* bits = nullptr;
    ScopedGdiObject<HBITMAP> bitmap(
        CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedMemoryDC memory(screen.Get());
    ScopedSelect select(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    m_pixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
}

COLORREF ScreenShot::At(int screenX, int screenY) const {
    const int width = m_area.right - m_area.left;
    const uint32_t p =
        m_pixels[static_cast<size_t>(screenY - m_area.top) * width + (screenX - m_area.left)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}
