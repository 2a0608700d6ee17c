// The flat routine: a pale icon column, a framed selection bar, checked
// boxes framed in the highlight colour, raised pictures under the mouse.
#include <windows.h>

#include <commctrl.h>

#include "framework/ScopedHandles.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuGdi.h"
#include "menu/MenuPictures.h"
#include "menu/MenuPlatform.h"
#include "menu/PictureEffects.h"

namespace {

struct FlatItem {
    HDC dc;
    PixelRect rect;
    const MenuItemRecord& item;
    MenuItemState state;
    FlatMenuColours colours;
    int column;
};

void DrawPictureAt(const FlatItem& f, int index, MenuPoint at) {
    ImageList_Draw(MenuPictures::Shared().List(), index, f.dc, at.x, at.y, ILD_TRANSPARENT);
}

void DrawCheckedBox(const FlatItem& f, const PixelRect& box) {
    FillSolid(f.dc, box,
              f.state.selected ? f.colours.checkedSelected : f.colours.checkedUnselected);
    FrameSolid(f.dc, box, f.colours.highlight);
}

void DrawPicture(const FlatItem& f) {
    const MenuPictures& pictures = MenuPictures::Shared();
    const int normal = f.item.picture;
    const bool variants = pictures.HasVariants();
    const PixelRect box = PictureBox(f.rect, f.column);
    const MenuPoint at = PicturePosition(f.rect, f.column);
    const MenuPoint raised{at.x - 1, at.y - 1}, lowered{at.x + 1, at.y + 1};
    if (f.state.disabled) {
        if (variants)
            DrawPictureAt(f, normal + MenuPictureVariant::Grey, at);
        else  // a disabled item is never drawn selected: it sits on the column
            DrawEmbossedPicture(f.dc, pictures.List(), normal, at.x, at.y, f.colours.column);
    } else if (f.state.checked) {
        DrawCheckedBox(f, box);
        DrawPictureAt(f, normal, raised);
    } else if (f.state.selected && variants) {
        DrawPictureAt(f, normal + MenuPictureVariant::Shadow, lowered);
        DrawPictureAt(f, normal, raised);
    } else if (!f.state.selected && variants) {
        DrawPictureAt(f, normal + MenuPictureVariant::Faded, at);
    } else {
        DrawPictureAt(f, normal, at);
    }
}

void DrawParts(const FlatItem& f) {
    const PixelRect& r = f.rect;
    if (f.state.selected) {
        FillSolid(f.dc, r, f.colours.selection);
        FrameSolid(f.dc, r, f.colours.highlight);
    } else {
        FillSolid(f.dc, r, f.colours.background);
        FillSolid(f.dc, {r.left, r.top, r.left + f.column, r.bottom}, f.colours.column);
    }
    if (f.item.picture >= 0) {
        DrawPicture(f);
    } else if (f.state.checked) {
        const PixelRect box = PictureBox(r, f.column);
        DrawCheckedBox(f, box);
        DrawCheckGlyph(f.dc, box, f.state.radio, f.colours.text);
    }
    DrawLabelAndAccelerator(f.dc, f.item.text, FlatTextRect(r, f.column),
                            f.state.disabled ? f.colours.disabledText : f.colours.text);
}

bool IsPrinting(HDC dc) { return GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER; }

// A disabled item is drawn off the screen and copied on in one piece.
void DrawOffScreen(const FlatItem& f, HFONT font) {
    const int width = f.rect.Width(), height = f.rect.Height();
    ScopedMemoryDC memory(f.dc);
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(f.dc, width, height));
    ScopedSelect selectBitmap(memory.Get(), bitmap.Get());
    ScopedSelect selectFont(memory.Get(), font);
    DrawParts({memory.Get(), {0, 0, width, height}, f.item, f.state, f.colours, f.column});
    BitBlt(f.dc, f.rect.left, f.rect.top, width, height, memory.Get(), 0, 0, SRCCOPY);
}

}  // namespace

void DrawFlatMenuItem(HDC dc, const RECT& rect, const MenuItemRecord& item, MenuItemState state) {
    const FlatMenuColours colours = FlatColours(CurrentSystemMenuColours(), XpLookInForce());
    const int margin = PictureMargin(true, TheMenuLook.pictureEffects);
    const int column = IconColumnWidth(margin);
    if (item.flags & MF_SEPARATOR) {
        DrawSeparator(dc, FromRect(rect), colours.background, colours.column, column, margin);
        return;
    }
    ScopedSavedDC saved(dc);
    ScopedMenuFont font;
    ScopedSelect selectFont(dc, font.Get());
    if (state.disabled) state.selected = false;
    const FlatItem f{dc, FromRect(rect), item, state, colours, column};
    if (state.disabled && !IsPrinting(dc))
        DrawOffScreen(f, font.Get());
    else
        DrawParts(f);
}
