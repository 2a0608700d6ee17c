#include "menu/MenuToolbar.h"

#include "framework/ScopedHandles.h"
#include "framework/ToolBar.h"
#include "menu/MenuLayout.h"
#include "menu/MenuPlatform.h"
#include "menu/PictureVariants.h"

namespace {

constexpr MenuColour ToolbarGrey = MakeMenuColour(192, 192, 192);

// Destroys the toolbar window at scope end.
class ScopedToolbar {
public:
    ScopedToolbar() = default;
    ~ScopedToolbar() {
        if (m_bar.GetSafeHwnd()) DestroyWindow(m_bar.GetSafeHwnd());
    }
    ScopedToolbar(const ScopedToolbar&) = delete;
    ScopedToolbar& operator=(const ScopedToolbar&) = delete;
    CToolBar& Bar() { return m_bar; }

private:
    CToolBar m_bar;
};

}  // namespace

bool ReadToolbarButtons(UINT id, std::vector<ToolbarButtonPicture>& buttons) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    ScopedToolbar toolbar;
    if (!toolbar.Bar().CreateEx(MenuOwnerWindow(), 0, WS_CHILD | CCS_NOPARENTALIGN | CCS_NORESIZE,
                                id) ||
        !toolbar.Bar().LoadToolBar(id))
        return false;
    HWND bar = toolbar.Bar().GetSafeHwnd();
    const int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    buttons.clear();
    for (int position = 0; position < count; ++position) {
        TBBUTTON button{};
        SendMessageA(bar, TB_GETBUTTON, position, reinterpret_cast<LPARAM>(&button));
        if (button.idCommand == 0) continue;
        buttons.push_back(
            {static_cast<UINT>(button.idCommand), button.iBitmap > 0 ? button.iBitmap : position});
    }
    return true;
}

HIMAGELIST LoadToolbarPictures(UINT id) {
    ScopedGdiObject<HBITMAP> loaded(static_cast<HBITMAP>(LoadImageA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!loaded.Get() || !GetObjectA(loaded.Get(), sizeof info, &info)) return nullptr;

    // Copied into a 32-bit section, where every colour is held exactly.
    BITMAPINFO header{};
    header.bmiHeader = {
        sizeof header.bmiHeader, info.bmWidth, -info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
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
    ReplaceColour(static_cast<uint32_t*>(bits), static_cast<size_t>(info.bmWidth) * info.bmHeight,
                  ToDibPixel(ToolbarGrey), ToDibPixel(GetSysColor(COLOR_BTNFACE)));

    HIMAGELIST list = ImageList_Create(MenuPictureWidth, MenuPictureHeight, ILC_COLOR24 | ILC_MASK,
                                       info.bmWidth / MenuPictureWidth, 0);
    if (list) ImageList_AddMasked(list, copy.Get(), GetSysColor(COLOR_BTNFACE));
    return list;
}
