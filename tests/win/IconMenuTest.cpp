// The owner-drawn menu under the platform: items drawn through DrawItem into
// a 32-bit memory bitmap and read back pixel by pixel, the pictures taken
// from the menu toolbar, and the menu the main window installs.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "framework/ScopedHandles.h"
#include "menu/IconMenu.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuLayout.h"
#include "menu/MenuPictures.h"
#include "menu/MenuPlatform.h"
#include "menu/MenuText.h"
#include "menu/PictureEffects.h"
#include "res/resource.h"
#include "tests/win/RunningApp.h"

namespace {

// A top-down 32-bit bitmap selected into a memory device context.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0));
        m_select = std::make_unique<ScopedSelect>(m_dc.Get(), m_bitmap.Get());
    }
    HDC Dc() const { return m_dc.Get(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        return FromDibPixel(static_cast<const uint32_t*>(m_bits)[y * m_width + x]);
    }
    // Pixels of one colour inside a rectangle.
    int Count(COLORREF colour, const PixelRect& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) == colour;
        return n;
    }

private:
    int m_width, m_height;
    void* m_bits = nullptr;
    ScopedMemoryDC m_dc{nullptr};
    ScopedGdiObject<HBITMAP> m_bitmap;
    std::unique_ptr<ScopedSelect> m_select;
};

struct ItemRef {
    HMENU menu;
    UINT id;
    ULONG_PTR data;
};

constexpr int Column = 23;  // the icon column of the flat routine

class IconMenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        menu = new CIconMenu;
        ASSERT_TRUE(menu->LoadMenu(IDR_MAINFRAME));
        ASSERT_TRUE(menu->LoadToolbar(IDR_MENU_PICTURES));
    }
    static void TearDownTestSuite() { delete menu; }

    static ItemRef Item(int popup, int position) {
        HMENU sub = GetSubMenu(menu->GetSafeHmenu(), popup);
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_DATA;
        GetMenuItemInfoW(sub, position, TRUE, &info);
        return {sub, info.wID, info.dwItemData};
    }

    static MenuSize Measure(ItemRef item) {
        MEASUREITEMSTRUCT m{ODT_MENU, 0, item.id, 0, 0, item.data};
        menu->MeasureItem(m);
        return {static_cast<int>(m.itemWidth), static_cast<int>(m.itemHeight)};
    }

    // The item drawn as the menu would draw it, as tall as it measures.
    static std::unique_ptr<Canvas> Draw(ItemRef item, UINT state, int width = 200) {
        auto canvas = std::make_unique<Canvas>(width, Measure(item).cy);
        DRAWITEMSTRUCT d{};
        d.CtlType = ODT_MENU;
        d.itemID = item.id;
        d.itemAction = ODA_DRAWENTIRE;
        d.itemState = state;
        d.hwndItem = reinterpret_cast<HWND>(item.menu);
        d.hDC = canvas->Dc();
        d.rcItem = {0, 0, width, canvas->Height()};
        d.itemData = item.data;
        menu->DrawItem(d);
        return canvas;
    }

    static int PictureOf(ItemRef item) {
        return reinterpret_cast<const MenuItemRecord*>(item.data)->picture;
    }

    // The command's picture as drawn on the button face.
    static MenuPixels Picture(ItemRef item, MenuColour& face) {
        return DrawnPicturePixels(MenuPictures::Shared().List(), PictureOf(item), face);
    }

    static inline CIconMenu* menu = nullptr;
    const FlatMenuColours colours = FlatColours(CurrentSystemMenuColours(), XpLookInForce());
};

TEST_F(IconMenuTest, MeasuresSeparatorsFlatAndItemsByTheirTextInTheMenuFont) {
    EXPECT_EQ(Measure(Item(0, 1)), (MenuSize{0, 3}));
    const int height = std::max(GetSystemMetrics(SM_CYMENU), 22);
    ScopedWindowDC screen(nullptr);
    ScopedMenuFont font;
    ScopedSelect select(screen.Get(), font.Get());
    for (int position : {0, 2, 4}) {
        const ItemRef item = Item(0, position);
        const auto& text = reinterpret_cast<const MenuItemRecord*>(item.data)->text;
        const MenuSize size = Measure(item);
        EXPECT_EQ(size.cy, height);
        EXPECT_EQ(size.cx, MenuTextWidth(screen.Get(), text) + Column + MenuTextGap);
    }
}

TEST_F(IconMenuTest, ItemAtRestHasAnIconColumn23Wide) {
    const auto c = Draw(Item(0, 2), 0);  // "&Convert AVI to MPEG...": no picture
    for (int y = 0; y < c->Height(); ++y) {
        EXPECT_EQ(c->At(0, y), colours.column) << y;
        EXPECT_EQ(c->At(Column - 1, y), colours.column) << y;
        EXPECT_EQ(c->At(Column, y), colours.background) << y;
        EXPECT_EQ(c->At(c->Width() - 1, y), colours.background) << y;
    }
}

TEST_F(IconMenuTest, SelectedItemIsFilledAndFramedInTheHighlight) {
    const auto c = Draw(Item(0, 2), ODS_SELECTED);
    const int right = c->Width() - 1, bottom = c->Height() - 1;
    for (auto [x, y] : {std::pair{0, 0}, {right, 0}, {0, bottom}, {right, bottom}, {100, 0}})
        EXPECT_EQ(c->At(x, y), colours.highlight) << x << "," << y;
    for (auto [x, y] : {std::pair{1, 1}, {Column, 5}, {right - 1, bottom - 1}})
        EXPECT_EQ(c->At(x, y), colours.selection) << x << "," << y;
    EXPECT_EQ(c->Count(colours.column, {0, 0, c->Width(), c->Height()}), 0);
}

TEST_F(IconMenuTest, PicturesAreFadedAtRestAndRaisedOverTheirShadowWhenSelected) {
    const ItemRef start = Item(1, 0);
    MenuColour face = 0;
    const MenuPixels picture = Picture(start, face);
    const auto rest = Draw(start, 0);
    const auto selected = Draw(start, ODS_SELECTED);
    const MenuColour shadow = ShadowVariantColour(GetSysColor(COLOR_BTNSHADOW), XpLookInForce());
    auto inPicture = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < MenuPictureWidth && y < MenuPictureHeight &&
               picture[y * MenuPictureWidth + x] != face;
    };
    int shadowsSeen = 0;
    for (int y = 0; y < MenuPictureHeight; ++y) {
        for (int x = 0; x < MenuPictureWidth; ++x) {
            if (!inPicture(x, y)) {
                EXPECT_EQ(rest->At(4 + x, 4 + y), colours.column) << x << "," << y;
                continue;
            }
            const MenuColour p = picture[y * MenuPictureWidth + x];
            EXPECT_EQ(rest->At(4 + x, 4 + y), Lighten(p, 0.3)) << x << "," << y;
            EXPECT_EQ(selected->At(3 + x, 3 + y), p) << x << "," << y;
            if (!inPicture(x + 2, y + 2)) {
                EXPECT_EQ(selected->At(5 + x, 5 + y), shadow) << x << "," << y;
                ++shadowsSeen;
            }
        }
    }
    EXPECT_GT(shadowsSeen, 10);
}

TEST_F(IconMenuTest, CheckedPictureSitsRaisedInAFramedBox) {
    const ItemRef start = Item(1, 0);
    MenuColour face = 0;
    const MenuPixels picture = Picture(start, face);
    for (UINT state : {UINT{ODS_CHECKED}, UINT{ODS_CHECKED | ODS_SELECTED}}) {
        const auto c = Draw(start, state);
        const PixelRect box = PictureBox({0, 0, c->Width(), c->Height()}, Column);
        const MenuColour fill =
            state & ODS_SELECTED ? colours.checkedSelected : colours.checkedUnselected;
        for (auto [x, y] : {std::pair{box.left, box.top}, {box.right - 1, box.bottom - 1}})
            EXPECT_EQ(c->At(x, y), colours.highlight) << state;
        // Inside the box, right of and below the raised picture.
        EXPECT_EQ(c->At(box.right - 2, box.top + 1), fill) << state;
        EXPECT_EQ(c->At(box.left + 1, box.bottom - 2), fill) << state;
        for (int y = 0; y < MenuPictureHeight; ++y)
            for (int x = 0; x < MenuPictureWidth; ++x) {
                const MenuColour p = picture[y * MenuPictureWidth + x];
                EXPECT_EQ(c->At(3 + x, 3 + y), p == face ? fill : p)
                    << state << ": " << x << "," << y;
            }
    }
}

TEST_F(IconMenuTest, CheckMarkIsATickOrARadioDot) {
    const auto tick = Draw(Item(3, 0), ODS_CHECKED);  // "&Toolbar"
    const PixelRect box = PictureBox({0, 0, tick->Width(), tick->Height()}, Column);
    const MenuPoint origin = CheckGlyphOrigin(box);
    EXPECT_EQ(tick->At(box.left, box.top), colours.highlight);
    EXPECT_EQ(tick->Count(colours.text, box), 7 * TickColumnHeight);
    for (const MenuPoint& top : TickColumns(origin)) {
        EXPECT_EQ(tick->At(top.x, top.y - 1), colours.checkedUnselected) << top.x;
        EXPECT_EQ(tick->At(top.x, top.y), colours.text) << top.x;
        EXPECT_EQ(tick->At(top.x, top.y + 1), colours.text) << top.x;
        EXPECT_EQ(tick->At(top.x, top.y + 2), colours.checkedUnselected) << top.x;
    }

    // An item with a checked bitmap of its own is a radio item.
    const ItemRef statusbar = Item(3, 1);
    ScopedGdiObject<HBITMAP> mark(CreateBitmap(13, 13, 1, 1, nullptr));
    ASSERT_TRUE(SetMenuItemBitmaps(statusbar.menu, 1, MF_BYPOSITION, nullptr, mark.Get()));
    const auto dot = Draw(statusbar, ODS_CHECKED);
    SetMenuItemBitmaps(statusbar.menu, 1, MF_BYPOSITION, nullptr, nullptr);
    const PixelRect r = RadioDot(origin);
    EXPECT_EQ(dot->At(r.left + 2, r.top + 2), colours.text);
    EXPECT_EQ(dot->At(r.left + 3, r.top + 3), colours.text);
    EXPECT_EQ(dot->At(r.left, r.top), colours.checkedUnselected);   // outside the round
    EXPECT_EQ(dot->At(r.right, r.top), colours.checkedUnselected);  // where the tick would end
    EXPECT_GT(dot->Count(colours.text, box), 7 * TickColumnHeight);
}

TEST_F(IconMenuTest, DisabledItemHasPaleTextAndTheGreyPictureAndIsNeverSelected) {
    const ItemRef pause = Item(1, 1);
    const auto c = Draw(pause, ODS_GRAYED | ODS_DISABLED | ODS_SELECTED);
    EXPECT_EQ(c->At(0, 0), colours.column);
    EXPECT_EQ(c->At(c->Width() - 1, 0), colours.background);
    const PixelRect text{Column + MenuTextGap, 0, c->Width(), c->Height()};
    EXPECT_GT(c->Count(colours.disabledText, text), 10);
    EXPECT_EQ(c->Count(colours.text, text), 0);

    // The grey variant: the button shadow lightened by each pixel's brightness.
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    std::set<COLORREF> greys{colours.column, shadow};
    for (int level = 1; level < 256; ++level) greys.insert(Lighten(shadow, level / 255.0));
    int picturePixels = 0;
    for (int y = 4; y < 4 + MenuPictureHeight; ++y)
        for (int x = 4; x < 4 + MenuPictureWidth; ++x) {
            EXPECT_TRUE(greys.count(c->At(x, y))) << x << "," << y;
            picturePixels += c->At(x, y) != colours.column;
        }
    EXPECT_GT(picturePixels, 20);
}

// The rightmost column where anything but the background is drawn.
int RightmostInk(const Canvas& c, COLORREF background) {
    for (int x = c.Width() - 1; x >= 0; --x)
        for (int y = 0; y < c.Height(); ++y)
            if (c.At(x, y) != background) return x;
    return -1;
}

// Where the ink of TEXT ends when the test itself sets it, in the menu
// font, to end at x = END: what right alignment there should give, whatever
// font the system has.
int InkEndOfTextEndingAt(const std::u16string& text, int end) {
    Canvas c(end + 20, 40);
    ScopedMenuFont font;
    ScopedSelect select(c.Dc(), font.Get());
    SIZE size{};
    GetTextExtentPoint32W(c.Dc(), Wide(text), static_cast<int>(text.size()), &size);
    SetBkMode(c.Dc(), TRANSPARENT);
    SetTextColor(c.Dc(), RGB(255, 255, 255));
    TextOutW(c.Dc(), end - size.cx, 0, Wide(text), static_cast<int>(text.size()));
    return RightmostInk(c, RGB(0, 0, 0));
}

TEST_F(IconMenuTest, AcceleratorIsRightAlignedSixteenPixelsFromTheEdge) {
    const ItemRef enter = Item(0, 0);  // "...Recording...\tCTRL+O"
    const std::u16string accelerator =
        SplitAtTabs(reinterpret_cast<const MenuItemRecord*>(enter.data)->text).accelerator;
    ASSERT_EQ(accelerator, u"CTRL+O");
    const auto wide = Draw(enter, 0, 300);
    const auto narrow = Draw(enter, 0, 260);
    const int wideEnd = RightmostInk(*wide, colours.background);
    // Smoothing in other colours may shade one pixel more or less.
    EXPECT_NEAR(wideEnd, InkEndOfTextEndingAt(accelerator, 300 - AcceleratorGap), 1);
    EXPECT_EQ(RightmostInk(*narrow, colours.background), wideEnd - 40);
}

TEST_F(IconMenuTest, SeparatorIsAnEtchedLineRightOfTheColumn) {
    const auto c = Draw(Item(4, 1), 0, 150);
    ASSERT_EQ(c->Height(), 3);
    const COLORREF dark = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(c->At(Column - 1, y), colours.column) << y;
    EXPECT_EQ(c->At(Column, 1), colours.background);
    EXPECT_EQ(c->At(Column + 6, 1), colours.background);
    for (int x : {Column + 7, 100, 149}) {
        EXPECT_EQ(c->At(x, 0), colours.background) << x;
        EXPECT_EQ(c->At(x, 1), dark) << x;
        EXPECT_EQ(c->At(x, 2), light) << x;
    }
}

TEST_F(IconMenuTest, ToolbarGivesEachCommandItsPicture) {
    // (popup, position) of each item and its picture in bitmap 152.
    struct Expected {
        int popup, position, tile;
    };
    const Expected table[] = {{2, 2, 0},  {2, 0, 1},  {2, 1, 2}, {0, 4, 3}, {2, 3, 4},
                              {1, 0, 5},  {1, 1, 6},  {1, 2, 7}, {1, 4, 8}, {0, 0, 9},
                              {4, 0, 10}, {4, 4, 11}, {4, 2, 12}};
    ScopedGdiObject<HBITMAP> strip(static_cast<HBITMAP>(LoadImageA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MENU_PICTURES), IMAGE_BITMAP, 0, 0, 0)));
    ASSERT_TRUE(strip.Get());
    Canvas tiles(13 * MenuPictureWidth, MenuPictureHeight);
    {
        ScopedMemoryDC from(nullptr);
        ScopedSelect select(from.Get(), strip.Get());
        BitBlt(tiles.Dc(), 0, 0, tiles.Width(), tiles.Height(), from.Get(), 0, 0, SRCCOPY);
    }
    for (const Expected& e : table) {
        MenuColour face = 0;
        const MenuPixels picture = Picture(Item(e.popup, e.position), face);
        ASSERT_EQ(picture.size(), size_t{MenuPictureWidth * MenuPictureHeight});
        for (int y = 0; y < MenuPictureHeight; ++y)
            for (int x = 0; x < MenuPictureWidth; ++x) {
                COLORREF want = tiles.At(e.tile * MenuPictureWidth + x, y);
                if (want == RGB(192, 192, 192)) want = face;
                ASSERT_EQ(picture[y * MenuPictureWidth + x], want)
                    << "tile " << e.tile << " at " << x << "," << y;
            }
    }
    for (auto [popup, position] : {std::pair{0, 2}, {3, 0}, {3, 1}})
        EXPECT_EQ(PictureOf(Item(popup, position)), -1) << popup << "," << position;

    // Loading again puts the same pictures in their old places.
    const int count = ImageList_GetImageCount(MenuPictures::Shared().List());
    EXPECT_EQ(count, 13 * 4);
    const int play = PictureOf(Item(1, 4));
    ASSERT_TRUE(menu->LoadToolbar(IDR_MENU_PICTURES));
    EXPECT_EQ(ImageList_GetImageCount(MenuPictures::Shared().List()), count);
    EXPECT_EQ(PictureOf(Item(1, 4)), play);
}

TEST_F(IconMenuTest, EmbossedPictureIsShadowWithAHighlightBelowRight) {
    const ItemRef start = Item(1, 0);
    MenuColour face = 0;
    const MenuPixels picture = Picture(start, face);
    const COLORREF fill = RGB(10, 200, 30), dark = GetSysColor(COLOR_BTNSHADOW),
                   light = GetSysColor(COLOR_BTNHIGHLIGHT);
    Canvas c(20, 20);
    DrawEmbossedPicture(c.Dc(), MenuPictures::Shared().List(), PictureOf(start), 2, 2, fill);
    auto isPicture = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= MenuPictureWidth || y >= MenuPictureHeight) return false;
        const MenuColour p = picture[y * MenuPictureWidth + x];
        return p != face && p != light;
    };
    int highlights = 0;
    for (int y = 0; y <= MenuPictureHeight; ++y)
        for (int x = 0; x <= MenuPictureWidth; ++x) {
            const COLORREF got = c.At(2 + x, 2 + y);
            if (isPicture(x, y)) {
                EXPECT_EQ(got, dark) << x << "," << y;
            } else if (isPicture(x - 1, y - 1)) {
                EXPECT_EQ(got, light) << x << "," << y;
                ++highlights;
            } else if (x < MenuPictureWidth && y < MenuPictureHeight) {
                EXPECT_EQ(got, fill) << x << "," << y;
            }
        }
    EXPECT_GT(highlights, 5);
}

TEST_F(IconMenuTest, ClassicRoutineFillsTheSelectionAndEmbossesDisabledText) {
    const ItemRef convert = Item(0, 2);
    const auto& record = *reinterpret_cast<const MenuItemRecord*>(convert.data);
    Canvas c(200, 19);
    const RECT all{0, 0, 200, 19};
    MenuItemState state;
    state.selected = true;
    DrawClassicMenuItem(c.Dc(), all, record, state);
    EXPECT_EQ(c.At(0, 0), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(c.At(199, 18), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_GT(c.Count(GetSysColor(COLOR_HIGHLIGHTTEXT), {ClassicTextIndent, 0, 200, 19}), 10);
    EXPECT_EQ(c.Count(GetSysColor(COLOR_HIGHLIGHTTEXT), {0, 0, ClassicTextIndent, 19}), 0);

    state = {};
    state.disabled = true;
    DrawClassicMenuItem(c.Dc(), all, record, state);
    const PixelRect text{ClassicTextIndent, 0, 200, 19};
    EXPECT_GT(c.Count(GetSysColor(COLOR_GRAYTEXT), text), 10);
    EXPECT_GT(c.Count(GetSysColor(COLOR_BTNHIGHLIGHT), text), 10);
    EXPECT_EQ(c.Count(GetSysColor(COLOR_MENUTEXT), text), 0);
}

// The main window's menu, as start-up installs it.
class InstalledMenuTest : public ::testing::Test {
protected:
    static MENUITEMINFOW Info(HMENU menu, int position) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
        GetMenuItemInfoW(menu, position, TRUE, &info);
        return info;
    }
};

TEST_F(InstalledMenuTest, BarItemsArePlainAndPopupItemsOwnerDrawn) {
    HMENU bar = GetMenu(MainWindow());
    ASSERT_TRUE(bar);
    const wchar_t* titles[] = {L"&File", L"&Record", L"&Options", L"&View", L"&Help"};
    const std::vector<std::vector<UINT>> ids = {
        {ID_FILE_ENTER_NAME, 0, ID_FILE_CONVERT, 0, ID_APP_EXIT},
        {ID_RECORD_START, ID_RECORD_PAUSE, ID_RECORD_STOP, 0, ID_RECORD_PLAY},
        {ID_OPTIONS_VIDEO, ID_OPTIONS_AUDIO, ID_OPTIONS_RECORD, ID_OPTIONS_HOTKEY},
        {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR},
        {ID_HELP_CONTENTS, 0, ID_HELP_WEBSITE, 0, ID_APP_ABOUT}};
    ASSERT_EQ(GetMenuItemCount(bar), 5);
    for (int i = 0; i < 5; ++i) {
        const MENUITEMINFOW top = Info(bar, i);
        EXPECT_EQ(top.fType, UINT{MFT_STRING}) << i;
        wchar_t title[32] = {};
        GetMenuStringW(bar, i, title, 32, MF_BYPOSITION);
        EXPECT_STREQ(title, titles[i]);
        ASSERT_TRUE(top.hSubMenu);
        ASSERT_EQ(GetMenuItemCount(top.hSubMenu), static_cast<int>(ids[i].size()));
        for (size_t j = 0; j < ids[i].size(); ++j) {
            const MENUITEMINFOW item = Info(top.hSubMenu, static_cast<int>(j));
            EXPECT_TRUE(item.fType & MFT_OWNERDRAW) << i << "," << j;
            EXPECT_EQ((item.fType & MFT_SEPARATOR) != 0, ids[i][j] == 0) << i << "," << j;
            EXPECT_EQ(item.wID, ids[i][j]) << i << "," << j;
            EXPECT_NE(item.dwItemData, 0u) << i << "," << j;
        }
    }
}

TEST_F(InstalledMenuTest, WindowPassesMeasuringAndLettersToTheMenu) {
    HMENU file = GetSubMenu(GetMenu(MainWindow()), 0);
    const MENUITEMINFOW exit = Info(file, 4);
    MEASUREITEMSTRUCT m{ODT_MENU, 0, exit.wID, 0, 0, exit.dwItemData};
    EXPECT_TRUE(SendMessageA(MainWindow(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m)));
    EXPECT_EQ(static_cast<int>(m.itemHeight), std::max(GetSystemMetrics(SM_CYMENU), 22));

    auto letter = [&](char key) {
        return SendMessageA(MainWindow(), WM_MENUCHAR, MAKEWPARAM(key, MF_POPUP),
                            reinterpret_cast<LPARAM>(file));
    };
    EXPECT_EQ(letter('x'), MAKELRESULT(4, MNC_EXECUTE));  // "E&xit"
    EXPECT_EQ(letter('C'), MAKELRESULT(2, MNC_EXECUTE));  // "&Convert AVI to MPEG..."
    EXPECT_EQ(HIWORD(letter('q')), MNC_IGNORE);
}

}  // namespace
