#include "menu/MenuPictures.h"

#include <algorithm>

#include "framework/ScopedHandles.h"
#include "menu/MenuLayout.h"
#include "menu/MenuLook.h"
#include "menu/MenuPlatform.h"
#include "menu/PictureEffects.h"
#include "framework/ImageList.h"

namespace {

HIMAGELIST NewPictureList(int room) {
    return ImageList_Create(MenuPictureWidth, MenuPictureHeight, ILC_COLOR24 | ILC_MASK, room,
                            room);
}

// The normal picture and, when wanted, its variants, in a list of their own.
HIMAGELIST PictureWithVariants(HIMAGELIST source, int index, bool variants) {
    MenuColour face = 0;
    const MenuPixels normal = DrawnPicturePixels(source, index, face);
    if (normal.empty()) return nullptr;
    std::vector<const MenuPixels*> pictures{&normal};
    PictureVariants made;
    if (variants) {
        const bool xp = XpLookInForce();
        const MenuColour shadow = GetSysColor(COLOR_BTNSHADOW);
        made = MakePictureVariants(normal, face, ShadowVariantColour(shadow, xp), shadow);
        pictures.insert(pictures.end(), {&made.faded, &made.shadow, &made.grey});
    }
    ScopedGdiObject<HBITMAP> strip(PictureStrip(pictures));
    HIMAGELIST list = NewPictureList(static_cast<int>(pictures.size()));
    if (!strip.Get() || !list ||
        ImageList_AddMasked(list, strip.Get(), GetSysColor(COLOR_BTNFACE)) < 0) {
        if (list) ImageList_Destroy(list);
        return nullptr;
    }
    return list;
}

}  // namespace

MenuPictures::MenuPictures() : m_list(NewPictureList(16)), m_variants(TheMenuLook.pictureEffects) {}

MenuPictures::~MenuPictures() { ImageList_Destroy(m_list); }

MenuPictures& MenuPictures::Shared() {
    static MenuPictures pictures;
    return pictures;
}

int MenuPictures::FirstIndexOf(UINT command) const {
    const auto found = std::find(m_commands.begin(), m_commands.end(), command);
    return found == m_commands.end() ? -1 : static_cast<int>(found - m_commands.begin());
}

int MenuPictures::Put(UINT command, HIMAGELIST source, int index) {
    CImageList made(PictureWithVariants(source, index, m_variants));
    if (!m_list || !made.GetSafeHandle()) return -1;
    const int existing = FirstIndexOf(command);
    const int first = existing >= 0 ? existing : ImageList_GetImageCount(m_list);
    const int count = ImageList_GetImageCount(made.GetSafeHandle());
    for (int i = 0; i < count; ++i) {
        HICON icon = ImageList_GetIcon(made.GetSafeHandle(), i, ILD_NORMAL);
        // -1 appends; an existing command's pictures are overwritten in place.
        const int put = ImageList_ReplaceIcon(m_list, existing >= 0 ? first + i : -1, icon);
        DestroyIcon(icon);
        if (put < 0) {
            // The command list must stay parallel to the pictures.
            if (existing < 0) ImageList_SetImageCount(m_list, first);
            return -1;
        }
    }
    if (existing < 0) m_commands.insert(m_commands.end(), count, command);
    return first;
}
