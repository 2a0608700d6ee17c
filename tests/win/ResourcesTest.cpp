// The program's resources as the code loads them from its own module: the
// pictures, icons, menu, accelerators, toolbar layout, both string tables and
// the About box.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/ScopedHandles.h"
#include "res/resource.h"

namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Black = RGB(0, 0, 0);

// A bitmap resource loaded as a DIB section, so its own depth and pixels stay.
class Picture {
public:
    explicit Picture(int id)
        : m_bitmap(static_cast<HBITMAP>(LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0,
                                                   0, LR_CREATEDIBSECTION))) {
        if (m_bitmap.Get()) GetObjectA(m_bitmap.Get(), sizeof m_dib, &m_dib);
    }
    bool Loaded() const { return m_dib.dsBm.bmBits != nullptr; }
    int Width() const { return m_dib.dsBm.bmWidth; }
    int Height() const { return m_dib.dsBm.bmHeight; }
    int Depth() const { return m_dib.dsBm.bmBitsPixel; }
    // Rows are stored from the bottom up unless the header's height is negative.
    COLORREF At(int x, int y) const {
        const int row = m_dib.dsBmih.biHeight > 0 ? Height() - 1 - y : y;
        const BYTE* p =
            static_cast<const BYTE*>(m_dib.dsBm.bmBits) + row * m_dib.dsBm.bmWidthBytes + x * 3;
        return RGB(p[2], p[1], p[0]);
    }

private:
    ScopedGdiObject<HBITMAP> m_bitmap;
    DIBSECTION m_dib{};
};

TEST(ResourcesTest, ViewPictureIs533By329At24Bits) {
    const Picture view(IDB_VIEW_PICTURE);
    ASSERT_TRUE(view.Loaded());
    EXPECT_EQ(view.Width(), 533);
    EXPECT_EQ(view.Height(), 329);
    EXPECT_EQ(view.Depth(), 24);
}

// Each strip holds eleven 32 x 32 buttons on pure red, which the program turns
// into the button face; pure black is the image list's mask and must not occur.
TEST(ResourcesTest, ToolbarStripsHoldElevenButtonsOnRed) {
    const Picture normal(IDB_TOOLBAR_NORMAL), hot(IDB_TOOLBAR_HOT), disabled(IDB_TOOLBAR_DISABLED);
    for (const Picture* strip : {&normal, &hot, &disabled}) {
        ASSERT_TRUE(strip->Loaded());
        ASSERT_EQ(strip->Width(), 352);
        ASSERT_EQ(strip->Height(), 32);
        EXPECT_EQ(strip->Depth(), 24);
        for (int button = 0; button < 11; ++button) {
            const int left = button * 32;
            SCOPED_TRACE(::testing::Message() << "button " << button);
            for (int corner = 0; corner < 4; ++corner)
                EXPECT_EQ(strip->At(left + (corner & 1) * 31, (corner >> 1) * 31), Red);
            int drawn = 0, black = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = left; x < left + 32; ++x) {
                    drawn += strip->At(x, y) != Red;
                    black += strip->At(x, y) == Black;
                }
            EXPECT_GT(drawn, 100);
            EXPECT_EQ(black, 0);
        }
    }
    int differing = 0, colouredWhenDisabled = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 352; ++x) {
            differing += hot.At(x, y) != normal.At(x, y);
            const COLORREF c = disabled.At(x, y);
            colouredWhenDisabled +=
                c != Red && (GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c));
        }
    EXPECT_GT(differing, 1000);
    EXPECT_EQ(colouredWhenDisabled, 0);
}

// Each icon carries its own 16 and 32 pixel images rather than one scaled.
TEST(ResourcesTest, IconsHoldSixteenAndThirtyTwoPixelImages) {
    for (int id : {IDR_MAINFRAME, IDI_TRAY_RECORDING, IDI_TRAY_IDLE}) {
        HRSRC group = FindResourceA(Module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));
        ASSERT_NE(group, nullptr) << id;
        auto* directory = static_cast<BYTE*>(LockResource(LoadResource(Module(), group)));
        for (int size : {16, 32}) {
            SCOPED_TRACE(::testing::Message() << "icon " << id << " at " << size);
            const int image = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, 0);
            HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(image), MAKEINTRESOURCEA(3));
            ASSERT_NE(found, nullptr);
            const auto* header =
                static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(Module(), found)));
            EXPECT_EQ(header->biWidth, size);
            HICON icon = static_cast<HICON>(
                LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
            EXPECT_NE(icon, nullptr);
            if (icon) DestroyIcon(icon);
        }
    }
}

struct MenuEntry {
    UINT id;  // 0 for a separator
    const char* text;
};
struct MenuPopup {
    const char* text;
    std::vector<MenuEntry> entries;
};

TEST(ResourcesTest, MenuHoldsTheFivePopupsInOrder) {
    const std::vector<MenuPopup> expected = {
        {"&File",
         {{ID_FILE_ENTER_NAME, "&Enter File Name to Save Recording...\tCTRL+O"},
          {0, ""},
          {ID_FILE_CONVERT, "&Convert AVI to MPEG..."},
          {0, ""},
          {ID_APP_EXIT, "E&xit"}}},
        {"&Record",
         {{ID_RECORD_START, "&Start"},
          {ID_RECORD_PAUSE, "&Pause"},
          {ID_RECORD_STOP, "S&top"},
          {0, ""},
          {ID_RECORD_PLAY, "Pl&ay ..."}}},
        {"&Options",
         {{ID_OPTIONS_VIDEO, "&Video ..."},
          {ID_OPTIONS_AUDIO, "&Audio ..."},
          {ID_OPTIONS_RECORD, "&Record ..."},
          {ID_OPTIONS_HOTKEY, "&Hotkey ..."}}},
        {"&View", {{ID_VIEW_TOOLBAR, "&Toolbar"}, {ID_VIEW_STATUS_BAR, "&Statusbar"}}},
        {"&Help",
         {{ID_HELP_CONTENTS, "&Contents\tF1"},
          {0, ""},
          {ID_HELP_WEBSITE, "&Website"},
          {0, ""},
          {ID_APP_ABOUT, "&About ..."}}},
    };
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(menu, nullptr);
    struct Item {
        MENUITEMINFOA info;
        char text[128];
    };
    auto item = [](HMENU owner, int position) {
        Item it{};
        it.info.cbSize = sizeof it.info;
        it.info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        it.info.dwTypeData = it.text;
        it.info.cch = sizeof it.text;
        EXPECT_TRUE(GetMenuItemInfoA(owner, position, TRUE, &it.info));
        return it;
    };
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size()));
    for (size_t p = 0; p < expected.size(); ++p) {
        const Item popup = item(menu, static_cast<int>(p));
        EXPECT_STREQ(popup.text, expected[p].text);
        ASSERT_NE(popup.info.hSubMenu, nullptr) << expected[p].text;
        ASSERT_EQ(GetMenuItemCount(popup.info.hSubMenu),
                  static_cast<int>(expected[p].entries.size()))
            << expected[p].text;
        for (size_t i = 0; i < expected[p].entries.size(); ++i) {
            const MenuEntry& want = expected[p].entries[i];
            const Item got = item(popup.info.hSubMenu, static_cast<int>(i));
            SCOPED_TRACE(::testing::Message() << expected[p].text << " item " << i);
            EXPECT_EQ((got.info.fType & MFT_SEPARATOR) != 0, want.id == 0);
            if (want.id == 0) continue;
            EXPECT_EQ(got.info.wID, want.id);
            EXPECT_STREQ(got.text, want.text);
            EXPECT_EQ(got.info.hSubMenu, nullptr);
        }
    }
    DestroyMenu(menu);
}

TEST(ResourcesTest, AcceleratorsAreVirtualKeysWithTheirModifiers) {
    const std::vector<ACCEL> expected = {
        {FVIRTKEY | FCONTROL, 'O', ID_FILE_ENTER_NAME},
        {FVIRTKEY, VK_F1, ID_HELP_CONTENTS},
        {FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW},
        {FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE},
        {FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY},
        {FVIRTKEY | FCONTROL, VK_INSERT, ID_EDIT_COPY},
        {FVIRTKEY | FCONTROL, 'V', ID_EDIT_PASTE},
        {FVIRTKEY | FSHIFT, VK_INSERT, ID_EDIT_PASTE},
        {FVIRTKEY | FCONTROL, 'X', ID_EDIT_CUT},
        {FVIRTKEY | FSHIFT, VK_DELETE, ID_EDIT_CUT},
        {FVIRTKEY | FCONTROL, 'Z', ID_EDIT_UNDO},
        {FVIRTKEY | FALT, VK_BACK, ID_EDIT_UNDO},
        {FVIRTKEY, VK_F6, ID_NEXT_PANE},
        {FVIRTKEY | FSHIFT, VK_F6, ID_PREV_PANE},
    };
    HACCEL table = LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> got(CopyAcceleratorTableA(table, nullptr, 0));
    ASSERT_EQ(got.size(), expected.size());
    CopyAcceleratorTableA(table, got.data(), static_cast<int>(got.size()));
    for (size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "accelerator " << i);
        EXPECT_EQ(got[i].fVirt, expected[i].fVirt);
        EXPECT_EQ(got[i].key, expected[i].key);
        EXPECT_EQ(got[i].cmd, expected[i].cmd);
    }
    DestroyAcceleratorTable(table);
}

TEST(ResourcesTest, ToolbarLayoutListsFifteenItems) {
    HRSRC found =
        FindResourceA(Module(), MAKEINTRESOURCEA(IDR_MAINFRAME), MAKEINTRESOURCEA(RT_TOOLBAR_DATA));
    ASSERT_NE(found, nullptr);
    const auto* words = static_cast<const WORD*>(LockResource(LoadResource(Module(), found)));
    const std::vector<WORD> got(words, words + SizeofResource(Module(), found) / sizeof(WORD));
    const std::vector<WORD> expected = {1,
                                        32,
                                        32,
                                        15,
                                        ID_RECORD_START,
                                        ID_RECORD_PAUSE,
                                        ID_RECORD_STOP,
                                        0,
                                        ID_RECORD_PLAY,
                                        0,
                                        ID_FILE_ENTER_NAME,
                                        ID_OPTIONS_AUDIO,
                                        ID_OPTIONS_VIDEO,
                                        ID_OPTIONS_RECORD,
                                        ID_OPTIONS_HOTKEY,
                                        0,
                                        ID_HELP_CONTENTS,
                                        0,
                                        ID_FILE_CONVERT};
    EXPECT_EQ(got, expected);
}

std::string String(UINT id) {
    char text[512] = "";
    LoadStringA(Module(), id, text, sizeof text);
    return text;
}

// One string from the block of sixteen that holds it, in the given language;
// each entry is a length followed by that many UTF-16 units. Empty when the
// language has no such block.
std::wstring StringIn(UINT id, LANGID language) {
    HRSRC block = FindResourceExA(Module(), RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), language);
    if (!block) return L"";
    const auto* p = static_cast<const WCHAR*>(LockResource(LoadResource(Module(), block)));
    for (UINT i = 0; i < id % 16; ++i) p += 1 + *p;
    return std::wstring(p + 1, *p);
}

TEST(ResourcesTest, EnglishStringsAreTheDefault) {
    EXPECT_EQ(String(IDR_MAINFRAME),
              "Brantle for Windows\n\nBrantle for Windows\n\n\nHalvex.Document\nMorvane Document");
    EXPECT_EQ(String(AFX_IDS_APP_TITLE), "Brantle for Windows");
    EXPECT_EQ(String(AFX_IDS_IDLEMESSAGE), "Ready");
    EXPECT_EQ(String(ID_RECORD_PAUSE), "Pause/Resume Recording\nPause/Resume Recording");
    EXPECT_EQ(String(ID_APP_ABOUT), "About Brantle for Windows ...\nBrantle for Windows ...");
    const std::string website = String(ID_HELP_WEBSITE);
    EXPECT_EQ(
        website,
        "Visit Website http://brantle.example.org/\nVisit Website http://brantle.example.org/");
    EXPECT_NE(website.find(BRANTLE_WEBSITE), std::string::npos);
    // Tagged as US English, the language Windows falls back to.
    EXPECT_EQ(StringIn(AFX_IDS_IDLEMESSAGE, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)),
              L"Ready");
}

// The Chinese table holds every string of the English one; the texts read back
// as the characters written, so the resource compiler took the source as UTF-8.
TEST(ResourcesTest, ChineseTableTranslatesEveryString) {
    const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    const LANGID chinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
    for (UINT id :
         {IDR_MAINFRAME, AFX_IDS_APP_TITLE, AFX_IDS_IDLEMESSAGE, ID_OPTIONS_VIDEO, ID_OPTIONS_AUDIO,
          ID_OPTIONS_RECORD, ID_RECORD_START, ID_RECORD_STOP, ID_OPTIONS_HOTKEY, ID_RECORD_PAUSE,
          ID_RECORD_PLAY, ID_FILE_ENTER_NAME, ID_HELP_CONTENTS, ID_HELP_WEBSITE, ID_FILE_CONVERT,
          ID_APP_ABOUT, ID_APP_EXIT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        const std::wstring text = StringIn(id, chinese);
        EXPECT_FALSE(text.empty()) << id;
        // Only the program's name stays as it is.
        if (id != AFX_IDS_APP_TITLE) {
            EXPECT_NE(text, StringIn(id, english)) << id;
        }
    }
    EXPECT_EQ(StringIn(AFX_IDS_IDLEMESSAGE, chinese), L"就绪");
    EXPECT_EQ(StringIn(ID_RECORD_START, chinese), L"开始录制\n开始录制");
    EXPECT_EQ(StringIn(IDR_MAINFRAME, chinese),
              L"Brantle for Windows\n\nBrantle for Windows\n\n\nHalvex.Document\nMorvane 文档");
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

std::string Text(HWND wnd) {
    char text[256] = "";
    GetWindowTextA(wnd, text, sizeof text);
    return text;
}

TEST(ResourcesTest, AboutBoxShowsNameVersionWebsiteAndTwoButtons) {
    HWND box =
        CreateDialogParamA(Module(), MAKEINTRESOURCEA(IDD_ABOUTBOX), nullptr, QuietDialogProc, 0);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Text(box), "About Brantle for Windows");
    EXPECT_EQ(Text(GetDlgItem(box, IDOK)), "OK");
    EXPECT_EQ(GetWindowLongA(GetDlgItem(box, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(Text(GetDlgItem(box, IDCANCEL)), "Website");

    // Every control lies inside the box and none overlaps another.
    std::vector<HWND> controls;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) controls.push_back(c);
    std::vector<std::string> texts;
    bool hasIcon = false;
    RECT client;
    GetClientRect(box, &client);
    MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&client), 2);
    for (size_t i = 0; i < controls.size(); ++i) {
        texts.push_back(Text(controls[i]));
        if ((GetWindowLongA(controls[i], GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            hasIcon |= SendMessageA(controls[i], STM_GETICON, 0, 0) != 0;
        RECT a, b, overlap;
        GetWindowRect(controls[i], &a);
        EXPECT_TRUE(a.left >= client.left && a.top >= client.top && a.right <= client.right &&
                    a.bottom <= client.bottom)
            << texts.back();
        for (size_t j = 0; j < i; ++j) {
            GetWindowRect(controls[j], &b);
            EXPECT_FALSE(IntersectRect(&overlap, &a, &b)) << texts[i] << " / " << texts[j];
        }
    }
    EXPECT_TRUE(hasIcon);
    for (const char* line : {"Brantle for Windows", "Version 1.80", "Website: " BRANTLE_WEBSITE})
        EXPECT_NE(std::find(texts.begin(), texts.end(), line), texts.end()) << line;
    DestroyWindow(box);
}

}  // namespace
