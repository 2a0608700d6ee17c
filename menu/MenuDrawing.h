// The two routines that draw an owner-drawn item: the flat one, used
// everywhere but on palette devices, and the classic one.
#pragma once

#include <windows.h>

#include "menu/MenuItemRecord.h"

struct MenuItemState {
    bool selected = false;
    bool checked = false;
    bool disabled = false;
    bool radio = false;  // the item has its own checked bitmap: a dot instead of a tick
};

void DrawFlatMenuItem(HDC dc, const RECT& rect, const MenuItemRecord& item, MenuItemState state);
void DrawClassicMenuItem(HDC dc, const RECT& rect, const MenuItemRecord& item, MenuItemState state);
