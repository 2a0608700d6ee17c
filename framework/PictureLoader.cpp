#include "framework/PictureLoader.h"

#include <cstdint>

#include "framework/PictureColours.h"
#include "framework/ScopedHandles.h"

HIMAGELIST LoadPictureList(UINT bitmapId, const PictureStrip& strip) {
    ScopedGdiObject<HBITMAP> loaded(
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!loaded.Get() || !GetObjectA(loaded.Get(), sizeof info, &info)) return nullptr;

    // Copied into a 24-bit section, which holds every colour of a resource of
    // any depth exactly and whose pixels the recolouring reads.
    BITMAPINFO header{};
    header.bmiHeader = {
        sizeof header.bmiHeader, info.bmWidth, -info.bmHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    ScopedGdiObject<HBITMAP> copy(
        CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!copy.Get()) return nullptr;
    {
        ScopedMemoryDC from(nullptr), to(nullptr);
        ScopedSelect selectFrom(from.Get(), loaded.Get()), selectTo(to.Get(), copy.Get());
        BitBlt(to.Get(), 0, 0, info.bmWidth, info.bmHeight, from.Get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const int stride = (info.bmWidth * 3 + 3) & ~3;  // rows end on a four-byte boundary
    ReplaceColour(static_cast<uint8_t*>(bits), info.bmWidth, info.bmHeight, stride,
                  strip.background, face);

    HIMAGELIST list =
        ImageList_Create(strip.width, strip.height, ILC_COLOR24 | (strip.masked ? ILC_MASK : 0),
                         info.bmWidth / strip.width, 0);
    if (!list) return nullptr;
    if (strip.masked)
        ImageList_AddMasked(list, copy.Get(), face);
    else
        ImageList_Add(list, copy.Get(), nullptr);
    return list;
}
