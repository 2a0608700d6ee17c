// The program's menu bar with owner-drawn pull-down menus: every popup item
// gets an icon column with its command's toolbar picture or a check mark, a
// flat selection bar and a right-aligned accelerator column. The items of
// the bar itself stay plain text drawn by the system.
//
// Owner-drawn items point at records this object keeps: it must live as
// long as a window shows its menu, also after the handle has been handed on.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Menu.h"
#include "menu/MenuItemRecord.h"
#include "menu/MenuTemplate.h"

class CIconMenu : public CMenu {
public:
    CIconMenu() = default;
    ~CIconMenu() override;

    // Builds the menu from menu resource id (or name) of the program:
    // the bar's items plain, every popup's items owner-drawn, accelerators
    // lined up per popup. False when the resource is missing or malformed.
    BOOL LoadMenu(UINT id);
    BOOL LoadMenu(const char* name);
    // Gives every item whose command has a button in toolbar resource id
    // (its layout and its bitmap of 16 x 15 pictures) that button's picture.
    BOOL LoadToolbar(UINT id);
    // Forgets the items and the popups' objects, then destroys the menu if
    // this object still owns it. Popups go with their parent's handle.
    BOOL DestroyMenu() override;

    // WM_DRAWITEM and WM_MEASUREITEM of this menu's owner-drawn items; items
    // of other menus are left alone.
    void DrawItem(DRAWITEMSTRUCT& draw) override;
    void MeasureItem(MEASUREITEMSTRUCT& measure) override;
    // WM_MENUCHAR: the owner-drawn items' '&' letters. False when menu is
    // not one of this menu's popups.
    bool MenuChar(char16_t key, HMENU menu, LRESULT& result) const;

private:
    bool AppendLevel(const std::vector<MenuTemplateItem>& items, bool ownerDrawn);
    bool Append(UINT flags, UINT_PTR command, const std::u16string& text, bool ownerDrawn);
    void LineUpAccelerators();
    const MenuItemRecord* FindRecord(ULONG_PTR data) const;
    const CIconMenu* FindPopup(HMENU menu) const;
    bool HasCommand(UINT command) const;
    void SetPicture(UINT command, int picture);

    std::vector<std::unique_ptr<MenuItemRecord>> m_items;  // in menu order
    std::vector<std::unique_ptr<CIconMenu>> m_popups;
};
