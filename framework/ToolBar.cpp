#include "framework/ToolBar.h"

#include <vector>

namespace {

// The toolbar resource: 16-bit words.
struct ToolBarLayout {
    int buttonWidth = 0, buttonHeight = 0;
    std::vector<UINT> commands;  // 0: separator
};

bool ReadToolBarLayout(UINT resourceId, ToolBarLayout& layout) {
    constexpr WORD ToolBarResourceType = 241;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId),
                                MAKEINTRESOURCEA(ToolBarResourceType));
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    const auto* words = static_cast<const WORD*>(LockResource(loaded));
    const DWORD size = SizeofResource(module, found);
    if (!words || size < 4 * sizeof(WORD) || words[0] != 1) return false;
    const WORD count = words[3];
    if (size < (4u + count) * sizeof(WORD)) return false;
    layout.buttonWidth = words[1];
    layout.buttonHeight = words[2];
    layout.commands.assign(words + 4, words + 4 + count);
    return true;
}

// The pictures' size, drawn for 96 dots per inch, at dpi.
void SetPictureSize(HWND toolbar, const ToolBarLayout& layout, int dpi) {
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0,
                 MAKELPARAM(ScaleForDpi(layout.buttonWidth, dpi),
                            ScaleForDpi(layout.buttonHeight, dpi)));
}

}  // namespace

BOOL CToolBar::CreateEx(HWND parent, DWORD controlStyle, DWORD style, UINT id) {
    m_hWnd = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", style | controlStyle, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                             GetModuleHandleA(nullptr), nullptr);
    if (!m_hWnd) return FALSE;
    SendMessageA(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT resourceId, int dpi) {
    ToolBarLayout layout;
    if (!m_hWnd || !ReadToolBarLayout(resourceId, layout)) return FALSE;
    SetPictureSize(m_hWnd, layout, dpi);
    std::vector<TBBUTTON> buttons;
    int picture = 0;
    for (UINT command : layout.commands) {
        TBBUTTON button{};
        if (command == 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = picture++;
            button.idCommand = static_cast<int>(command);
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(button);
    }
    return static_cast<BOOL>(SendMessageA(m_hWnd, TB_ADDBUTTONSA, buttons.size(),
                                          reinterpret_cast<LPARAM>(buttons.data())));
}

BOOL CToolBar::ScaleButtons(UINT resourceId, int dpi) {
    ToolBarLayout layout;
    if (!m_hWnd || !ReadToolBarLayout(resourceId, layout)) return FALSE;
    SetPictureSize(m_hWnd, layout, dpi);
    SendMessageA(m_hWnd, TB_AUTOSIZE, 0, 0);
    return TRUE;
}

void CToolBar::SetImageList(UINT message, HIMAGELIST list) {
    SendMessageA(m_hWnd, message, 0, reinterpret_cast<LPARAM>(list));
}
