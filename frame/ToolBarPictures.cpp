#include "frame/ToolBarPictures.h"

#include "frame/PictureColours.h"
#include "framework/ScopedHandles.h"

HIMAGELIST LoadToolBarPictures(UINT bitmapId) {
    constexpr int PictureSize = 32, PictureCount = 11;
    ScopedGdiObject<HBITMAP> bitmap(
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_DEFAULTSIZE)));
    DIBSECTION section{};
    if (!bitmap.Get() || GetObjectA(bitmap.Get(), sizeof section, &section) != sizeof section ||
        section.dsBm.bmBitsPixel != 24)
        return nullptr;
    GdiFlush();
    ReplacePureRed(static_cast<uint8_t*>(section.dsBm.bmBits), section.dsBm.bmWidth,
                   section.dsBm.bmHeight, section.dsBm.bmWidthBytes, GetSysColor(COLOR_BTNFACE));
    HIMAGELIST list = ImageList_Create(PictureSize, PictureSize, ILC_COLOR24, PictureCount, 0);
    if (list) ImageList_AddMasked(list, bitmap.Get(), RGB(0, 0, 0));
    return list;
}
