#include "menu/IconMenu.h"

#include "framework/ScopedHandles.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuLayout.h"
#include "menu/MenuLook.h"
#include "menu/MenuPictures.h"
#include "menu/MenuPlatform.h"
#include "menu/MenuText.h"
#include "menu/MenuToolbar.h"
#include "framework/ImageList.h"

namespace {

bool ReadMenuResource(const char* name, std::vector<MenuTemplateItem>& bar) {
    constexpr WORD MenuResourceType = 4;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(MenuResourceType));
    if (!found) return false;
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
    return data && ParseMenuTemplate(data, SizeofResource(module, found), bar);
}

// Radio items carry their own checked bitmap; they show a dot, not a tick.
bool HasOwnCheckBitmap(HMENU menu, UINT command) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS;
    return GetMenuItemInfoW(menu, command, FALSE, &info) && info.hbmpChecked;
}

}  // namespace

CIconMenu::~CIconMenu() { DestroyMenu(); }

BOOL CIconMenu::LoadMenu(UINT id) { return LoadMenu(MAKEINTRESOURCEA(id)); }

BOOL CIconMenu::LoadMenu(const char* name) {
    std::vector<MenuTemplateItem> bar;
    if (!ReadMenuResource(name, bar)) return FALSE;
    DestroyMenu();
    m_hMenu = CreateMenu();
    // The system draws the bar; only the popups' items are owner-drawn.
    return m_hMenu && AppendLevel(bar, false);
}

bool CIconMenu::AppendLevel(const std::vector<MenuTemplateItem>& items, bool ownerDrawn) {
    for (const MenuTemplateItem& item : items) {
        if (!(item.flags & MF_POPUP)) {
            const UINT separator = item.command == 0 ? MF_SEPARATOR : 0;
            if (!Append(item.flags | separator, item.command, item.text, ownerDrawn)) return false;
            continue;
        }
        auto popup = std::make_unique<CIconMenu>();
        popup->m_hMenu = CreatePopupMenu();
        if (!popup->m_hMenu || !popup->AppendLevel(item.items, true)) return false;
        popup->LineUpAccelerators();
        if (!Append(item.flags, reinterpret_cast<UINT_PTR>(popup->m_hMenu), item.text, ownerDrawn))
            return false;
        m_popups.push_back(std::move(popup));
    }
    return true;
}

bool CIconMenu::Append(UINT flags, UINT_PTR command, const std::u16string& text, bool ownerDrawn) {
    auto record = std::make_unique<MenuItemRecord>();
    record->text = text;
    record->flags = flags | (ownerDrawn ? MF_OWNERDRAW : MF_STRING);
    record->command = command;
    if (!(flags & (MF_POPUP | MF_SEPARATOR)))
        record->picture = MenuPictures::Shared().FirstIndexOf(static_cast<UINT>(command));
    const auto* content =
        ownerDrawn ? reinterpret_cast<const wchar_t*>(record.get()) : Wide(record->text);
    if (!AppendMenuW(m_hMenu, record->flags, command, content)) return false;
    m_items.push_back(std::move(record));
    return true;
}

void CIconMenu::LineUpAccelerators() {
    if (!TheMenuLook.alignAccelerators) return;
    ScopedWindowDC screen(nullptr);
    ScopedMenuFont font;
    ScopedSelect select(screen.Get(), font.Get());
    std::vector<std::u16string> texts;
    for (const auto& item : m_items) texts.push_back(item->text);
    AlignAccelerators(
        texts, [&screen](const std::u16string& text) { return MenuTextWidth(screen.Get(), text); });
    for (size_t i = 0; i < texts.size(); ++i) m_items[i]->text = texts[i];
}

BOOL CIconMenu::LoadToolbar(UINT id) {
    std::vector<ToolbarButtonPicture> buttons;
    if (!ReadToolbarButtons(id, buttons)) return FALSE;
    CImageList pictures(LoadToolbarPictures(id));
    if (!pictures.GetSafeHandle()) return FALSE;
    const int count = ImageList_GetImageCount(pictures.GetSafeHandle());
    for (const ToolbarButtonPicture& button : buttons) {
        if (button.picture >= count || !HasCommand(button.command)) continue;
        const int index =
            MenuPictures::Shared().Put(button.command, pictures.GetSafeHandle(), button.picture);
        if (index >= 0) SetPicture(button.command, index);
    }
    return TRUE;
}

BOOL CIconMenu::DestroyMenu() {
    // A popup's handle belongs to its parent's and is destroyed with it.
    for (auto& popup : m_popups) popup->Detach();
    m_popups.clear();
    m_items.clear();
    return CMenu::DestroyMenu();
}

void CIconMenu::DrawItem(DRAWITEMSTRUCT& draw) {
    const MenuItemRecord* item = draw.CtlType == ODT_MENU ? FindRecord(draw.itemData) : nullptr;
    if (!item) return;
    MenuItemState state;
    state.selected = draw.itemState & ODS_SELECTED;
    state.checked = draw.itemState & ODS_CHECKED;
    state.disabled = draw.itemState & (ODS_GRAYED | ODS_DISABLED);
    state.radio = state.checked && item->picture < 0 &&
                  HasOwnCheckBitmap(reinterpret_cast<HMENU>(draw.hwndItem), draw.itemID);
    if (FlatRoutineFor(draw.hDC))
        DrawFlatMenuItem(draw.hDC, draw.rcItem, *item, state);
    else
        DrawClassicMenuItem(draw.hDC, draw.rcItem, *item, state);
}

void CIconMenu::MeasureItem(MEASUREITEMSTRUCT& measure) {
    const MenuItemRecord* item =
        measure.CtlType == ODT_MENU ? FindRecord(measure.itemData) : nullptr;
    if (!item) return;
    const bool flat = FlatRoutineForScreen();
    const int margin = PictureMargin(flat, TheMenuLook.pictureEffects);
    const int menuHeight = GetSystemMetrics(SM_CYMENU);
    MenuSize size{};
    if (item->flags & MF_SEPARATOR) {
        size = SeparatorSize(flat, margin, menuHeight);
    } else {
        ScopedWindowDC dc(MenuOwnerWindow());
        ScopedMenuFont font;
        ScopedSelect select(dc.Get(), font.Get());
        size = ItemSize(flat, margin, MenuTextWidth(dc.Get(), item->text), menuHeight);
    }
    measure.itemWidth = size.cx;
    measure.itemHeight = size.cy;
}

bool CIconMenu::MenuChar(char16_t key, HMENU menu, LRESULT& result) const {
    const CIconMenu* popup = FindPopup(menu);
    if (!popup) return false;
    std::vector<std::u16string> texts;
    int current = -1;
    for (size_t i = 0; i < popup->m_items.size(); ++i) {
        texts.push_back(popup->m_items[i]->text);
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
            current = static_cast<int>(i);
    }
    const MnemonicChoice choice = ChooseByMnemonic(texts, key, current);
    const WORD action = choice.index < 0 ? MNC_IGNORE : choice.execute ? MNC_EXECUTE : MNC_SELECT;
    result = MAKELRESULT(choice.index < 0 ? 0 : choice.index, action);
    return true;
}

const MenuItemRecord* CIconMenu::FindRecord(ULONG_PTR data) const {
    for (const auto& item : m_items)
        if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
    for (const auto& popup : m_popups)
        if (const MenuItemRecord* found = popup->FindRecord(data)) return found;
    return nullptr;
}

const CIconMenu* CIconMenu::FindPopup(HMENU menu) const {
    for (const auto& popup : m_popups) {
        if (popup->m_hMenu == menu) return popup.get();
        if (const CIconMenu* found = popup->FindPopup(menu)) return found;
    }
    return nullptr;
}

bool CIconMenu::HasCommand(UINT command) const {
    for (const auto& item : m_items)
        if (!(item->flags & MF_POPUP) && item->command == command) return true;
    for (const auto& popup : m_popups)
        if (popup->HasCommand(command)) return true;
    return false;
}

void CIconMenu::SetPicture(UINT command, int picture) {
    for (const auto& item : m_items)
        if (!(item->flags & (MF_POPUP | MF_SEPARATOR)) && item->command == command)
            item->picture = picture;
    for (const auto& popup : m_popups) popup->SetPicture(command, picture);
}
