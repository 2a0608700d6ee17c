#include "framework/PictureLoader.h"

#include <cstdint>

#include "framework/PictureColours.h"
#include "framework/ScopedHandles.h"

namespace {

// A top-down 24-bit DIB section, which holds every colour of a resource of
// any depth exactly and whose pixels the recolouring reads.
HBITMAP MakeSection(int width, int height, void** bits) {
    BITMAPINFO header{};
    header.bmiHeader = {sizeof header.bmiHeader, width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    return CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, bits, nullptr, 0);
}

// The strip stretched to width x height, with the pixels averaged rather
// than repeated, so that scaled edges stay smooth.
HBITMAP Stretched(HBITMAP strip, int fromWidth, int fromHeight, int width, int height) {
    void* bits = nullptr;
    HBITMAP scaled = MakeSection(width, height, &bits);
    if (!scaled) return nullptr;
    ScopedMemoryDC from(nullptr), to(nullptr);
    ScopedSelect selectFrom(from.Get(), strip), selectTo(to.Get(), scaled);
    SetStretchBltMode(to.Get(), HALFTONE);
    SetBrushOrgEx(to.Get(), 0, 0, nullptr);
    StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, fromWidth, fromHeight, SRCCOPY);
    GdiFlush();
    return scaled;
}

}  // namespace

HIMAGELIST LoadPictureList(UINT bitmapId, const PictureStrip& strip, int dpi) {
    ScopedGdiObject<HBITMAP> loaded(
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!loaded.Get() || !GetObjectA(loaded.Get(), sizeof info, &info)) return nullptr;

    void* bits = nullptr;
    ScopedGdiObject<HBITMAP> copy(MakeSection(info.bmWidth, info.bmHeight, &bits));
    if (!copy.Get()) return nullptr;
    {
        ScopedMemoryDC from(nullptr), to(nullptr);
        ScopedSelect selectFrom(from.Get(), loaded.Get()), selectTo(to.Get(), copy.Get());
        BitBlt(to.Get(), 0, 0, info.bmWidth, info.bmHeight, from.Get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    // Recoloured before any scaling, while the background is still exact.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const int stride = (info.bmWidth * 3 + 3) & ~3;  // rows end on a four-byte boundary
    ReplaceColour(static_cast<uint8_t*>(bits), info.bmWidth, info.bmHeight, stride,
                  strip.background, face);

    const int width = ScaleForDpi(strip.width, dpi), height = ScaleForDpi(strip.height, dpi);
    const int count = info.bmWidth / strip.width;
    if (width != strip.width || height != strip.height) {
        copy.Reset(Stretched(copy.Get(), count * strip.width, info.bmHeight, count * width,
                             ScaleForDpi(info.bmHeight, dpi)));
        if (!copy.Get()) return nullptr;
    }
    HIMAGELIST list =
        ImageList_Create(width, height, ILC_COLOR24 | (strip.masked ? ILC_MASK : 0), count, 0);
    if (!list) return nullptr;
    if (strip.masked)
        ImageList_AddMasked(list, copy.Get(), face);
    else
        ImageList_Add(list, copy.Get(), nullptr);
    return list;
}
