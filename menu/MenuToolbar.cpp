#include "menu/MenuToolbar.h"

#include "framework/PictureLoader.h"
#include "framework/ToolBar.h"
#include "menu/MenuLayout.h"
#include "menu/MenuPlatform.h"

namespace {

constexpr PictureStrip MenuPictureStrip{MenuPictureWidth, MenuPictureHeight, RGB(192, 192, 192),
                                        true};

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

HIMAGELIST LoadToolbarPictures(UINT id) { return LoadPictureList(id, MenuPictureStrip); }
