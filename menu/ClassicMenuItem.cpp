// The classic routine, for palette devices: the item filled with the
// highlight when selected, pictures in boxes with three-dimensional edges,
// disabled text embossed.
#include <windows.h>

#include <commctrl.h>

#include "framework/ScopedHandles.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuGdi.h"
#include "menu/MenuPictures.h"
#include "menu/MenuPlatform.h"
#include "menu/PictureEffects.h"

namespace {

constexpr double CheckedBoxLightening = 0.6;

struct ClassicItem {
    HDC dc;
    PixelRect rect;
    const MenuItemRecord& item;
    MenuItemState state;
    COLORREF background;
    int column;
};

// Sunken when checked, raised under the mouse; returns what the picture sits on.
COLORREF DrawPictureBox(const ClassicItem& c, const PixelRect& box) {
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
    if (c.state.checked) {
        const COLORREF fill = Lighten(c.background, CheckedBoxLightening);
        FillSolid(c.dc, box, fill);
        Frame3d(c.dc, box, dark, light);
        return fill;
    }
    if (c.state.selected && !c.state.disabled) Frame3d(c.dc, box, light, dark);
    return c.state.selected ? GetSysColor(COLOR_HIGHLIGHT) : c.background;
}

void DrawPicture(const ClassicItem& c) {
    const MenuPoint at = PicturePosition(c.rect, c.column);
    const PixelRect box{at.x - 1, at.y - 1, at.x + MenuPictureWidth + 1,
                        at.y + MenuPictureHeight + 1};
    const COLORREF under = DrawPictureBox(c, box);
    HIMAGELIST list = MenuPictures::Shared().List();
    if (c.state.disabled)
        DrawEmbossedPicture(c.dc, list, c.item.picture, at.x, at.y, under);
    else
        ImageList_Draw(list, c.item.picture, c.dc, at.x, at.y, ILD_TRANSPARENT);
}

void DrawItemText(const ClassicItem& c, COLORREF textColour) {
    const PixelRect& r = c.rect;
    const PixelRect text{r.left + ClassicTextIndent, r.top, r.right, r.bottom};
    if (c.state.disabled && !c.state.selected) {
        const PixelRect below{text.left + 1, text.top + 1, text.right + 1, text.bottom + 1};
        DrawLabelAndAccelerator(c.dc, c.item.text, below, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawLabelAndAccelerator(c.dc, c.item.text, text, GetSysColor(COLOR_GRAYTEXT));
    } else {
        DrawLabelAndAccelerator(c.dc, c.item.text, text,
                                c.state.disabled ? c.background : textColour);
    }
}

}  // namespace

void DrawClassicMenuItem(HDC dc, const RECT& rect, const MenuItemRecord& item,
                         MenuItemState state) {
    const bool xp = XpLookInForce();
    const int margin = PictureMargin(false, TheMenuLook.pictureEffects);
    const int column = IconColumnWidth(margin);
    const COLORREF background = GetSysColor(xp ? COLOR_BTNFACE : COLOR_MENU);
    if (item.flags & MF_SEPARATOR) {
        const FlatMenuColours flat = FlatColours(CurrentSystemMenuColours(), xp);
        DrawSeparator(dc, FromRect(rect), flat.background, flat.column, column, margin);
        return;
    }
    ScopedSavedDC saved(dc);
    ScopedMenuFont font;
    ScopedSelect selectFont(dc, font.Get());
    const ClassicItem c{dc, FromRect(rect), item, state, background, column};
    FillSolid(dc, c.rect, state.selected ? GetSysColor(COLOR_HIGHLIGHT) : background);
    const COLORREF textColour = GetSysColor(state.selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if (item.picture >= 0) {
        DrawPicture(c);
    } else if (state.checked) {
        DrawCheckGlyph(dc, PictureBox(c.rect, column), state.radio, textColour);
    }
    DrawItemText(c, textColour);
}
