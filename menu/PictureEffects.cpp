#include "menu/PictureEffects.h"

#include <cstring>

#include "framework/ScopedHandles.h"
#include "menu/MenuLayout.h"

namespace {

constexpr int W = MenuPictureWidth, H = MenuPictureHeight;
constexpr DWORD PaintBrushWhereMask = 0x00E20746;  // brush where the source is white, else keep

// A top-down 32-bit section; bits receives its pixels.
HBITMAP NewSection(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

void FillWith(HDC dc, int width, int height, COLORREF colour) {
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, brush.Get());
}

// A one-bit mask of the picture: white where it has picture pixels, black
// where it shows the button face or the button highlight.
HBITMAP PictureMask(HDC screen, HIMAGELIST list, int index) {
    ScopedMemoryDC colourDc(screen), maskDc(screen);
    ScopedGdiObject<HBITMAP> colour(CreateCompatibleBitmap(screen, W, H));
    HBITMAP mask = CreateBitmap(W, H, 1, 1, nullptr);
    ScopedSelect selectColour(colourDc.Get(), colour.Get());
    ScopedSelect selectMask(maskDc.Get(), mask);
    FillWith(colourDc.Get(), W, H, GetSysColor(COLOR_BTNFACE));
    ImageList_Draw(list, index, colourDc.Get(), 0, 0, ILD_TRANSPARENT);
    // Colour to one bit: pixels of the background colour become white.
    SetBkColor(colourDc.Get(), GetSysColor(COLOR_BTNFACE));
    BitBlt(maskDc.Get(), 0, 0, W, H, colourDc.Get(), 0, 0, SRCCOPY);
    SetBkColor(colourDc.Get(), GetSysColor(COLOR_BTNHIGHLIGHT));
    BitBlt(maskDc.Get(), 0, 0, W, H, colourDc.Get(), 0, 0, SRCPAINT);
    PatBlt(maskDc.Get(), 0, 0, W, H, DSTINVERT);
    return mask;
}

// Paints brush colour into dc where the mask (selected in maskDc) is white.
void PaintMask(HDC dc, int x, int y, HDC maskDc, COLORREF colour) {
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    ScopedSelect select(dc, brush.Get());
    // One-bit sources take the text colour for black and the background for white.
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, x, y, W - x, H - y, maskDc, 0, 0, PaintBrushWhereMask);
}

}  // namespace

MenuPixels DrawnPicturePixels(HIMAGELIST list, int index, MenuColour& background) {
    void* bits = nullptr;
    ScopedGdiObject<HBITMAP> section(NewSection(W, H, &bits));
    if (!section.Get()) return {};
    ScopedMemoryDC dc(nullptr);
    ScopedSelect select(dc.Get(), section.Get());
    FillWith(dc.Get(), W, H, GetSysColor(COLOR_BTNFACE));
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    background = FromDibPixel(pixels[0]);
    ImageList_Draw(list, index, dc.Get(), 0, 0, ILD_TRANSPARENT);
    GdiFlush();
    MenuPixels picture(W * H);
    for (int i = 0; i < W * H; ++i) picture[i] = FromDibPixel(pixels[i]);
    return picture;
}

HBITMAP PictureStrip(const std::vector<const MenuPixels*>& pictures) {
    const int count = static_cast<int>(pictures.size());
    void* bits = nullptr;
    HBITMAP strip = NewSection(W * count, H, &bits);
    if (!strip) return nullptr;
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int p = 0; p < count; ++p)
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                pixels[y * W * count + p * W + x] = ToDibPixel((*pictures[p])[y * W + x]);
    return strip;
}

void DrawEmbossedPicture(HDC dc, HIMAGELIST list, int index, int x, int y, COLORREF fill) {
    ScopedWindowDC screen(nullptr);
    ScopedGdiObject<HBITMAP> mask(PictureMask(screen.Get(), list, index));
    ScopedMemoryDC maskDc(screen.Get()), workDc(screen.Get());
    ScopedGdiObject<HBITMAP> work(CreateCompatibleBitmap(screen.Get(), W, H));
    ScopedSelect selectMask(maskDc.Get(), mask.Get());
    ScopedSelect selectWork(workDc.Get(), work.Get());

    FillWith(workDc.Get(), W, H, fill);
    PaintMask(workDc.Get(), 0, 0, maskDc.Get(), GetSysColor(COLOR_BTNHIGHLIGHT));
    BitBlt(dc, x + 1, y + 1, W, H, workDc.Get(), 0, 0, SRCCOPY);
    PaintMask(workDc.Get(), 1, 1, maskDc.Get(), GetSysColor(COLOR_BTNHIGHLIGHT));
    PaintMask(workDc.Get(), 0, 0, maskDc.Get(), GetSysColor(COLOR_BTNSHADOW));
    BitBlt(dc, x, y, W, H, workDc.Get(), 0, 0, SRCCOPY);
}
