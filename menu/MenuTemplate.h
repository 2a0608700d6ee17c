// Reads a menu resource in the standard template format: a version word
// (0) and an offset word, the items starting that many bytes after the
// header; per item a flags word, a command word (popups have none) and a
// zero-terminated UTF-16 text. A popup's items follow it; the item flagged
// as the end closes its level. Kept free of <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t MenuTemplatePopup = 0x10;
constexpr uint16_t MenuTemplateEnd = 0x80;

struct MenuTemplateItem {
    uint16_t flags = 0;  // as in the template, the end flag removed
    uint16_t command = 0;
    std::u16string text;
    std::vector<MenuTemplateItem> items;  // a popup's level
};

// The bar's items, each popup with its own; false when the data is not a
// complete standard template.
bool ParseMenuTemplate(const uint8_t* data, size_t size, std::vector<MenuTemplateItem>& bar);
