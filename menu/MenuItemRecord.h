// What an owner-drawn menu keeps of each item; owner-drawn items carry a
// pointer to their record, which the drawing and measuring read.
#pragma once

#include <cstdint>
#include <string>

struct MenuItemRecord {
    std::u16string text;    // the label, a tab and the accelerator
    unsigned flags = 0;     // the item's menu flags
    uintptr_t command = 0;  // for a popup item: its submenu's handle
    int picture = -1;       // the command's picture in the shared list, -1: none
};
