#include "menu/MenuLayout.h"

#include <algorithm>

int PictureMargin(bool flatRoutine, bool pictureEffects) {
    return flatRoutine && pictureEffects ? 7 : 4;
}

MenuSize SeparatorSize(bool flatRoutine, int margin, int systemMenuHeight) {
    if (flatRoutine) return {0, 3};
    return {0, std::max((MenuPictureHeight + margin) / 2, systemMenuHeight / 2)};
}

MenuSize ItemSize(bool flatRoutine, int margin, int textWidth, int systemMenuHeight) {
    const int width = flatRoutine ? textWidth + MenuPictureWidth + margin + MenuTextGap
                                  : textWidth + 2 * MenuPictureWidth + 1;
    return {width, std::max(systemMenuHeight, MenuPictureHeight + margin)};
}

PixelRect PictureBox(const PixelRect& item, int columnWidth) {
    return {item.left + 1, item.top + 1, item.left + columnWidth - 2, item.bottom - 1};
}

MenuPoint PicturePosition(const PixelRect& item, int columnWidth) {
    const int dx = std::max(0, (columnWidth - MenuPictureWidth + 1) / 2);
    const int dy = std::max(0, (item.Height() - MenuPictureHeight + 1) / 2);
    return {item.left + dx, item.top + dy};
}

MenuPoint CheckGlyphOrigin(const PixelRect& box) {
    auto offset = [](int side) { return side < 6 ? 0 : side / 2 - 3; };
    return {box.left + offset(box.Width()), box.top + offset(box.Height())};
}

std::array<MenuPoint, 7> TickColumns(MenuPoint origin) {
    constexpr int drops[7] = {2, 3, 4, 3, 2, 1, 0};
    std::array<MenuPoint, 7> columns{};
    for (int i = 0; i < 7; ++i) columns[i] = {origin.x + i, origin.y + drops[i]};
    return columns;
}

PixelRect RadioDot(MenuPoint origin) { return {origin.x, origin.y, origin.x + 6, origin.y + 6}; }

PixelRect FlatTextRect(const PixelRect& item, int columnWidth) {
    return {item.left + columnWidth + MenuTextGap, item.top - 1, item.right, item.bottom - 1};
}

PixelRect AcceleratorRect(const PixelRect& text) {
    return {text.left, text.top, text.right - AcceleratorGap, text.bottom};
}

PixelRect SeparatorLine(const PixelRect& item, int columnWidth, int margin) {
    const int middle = item.top + item.Height() / 2;
    return {item.left + columnWidth + margin, middle, item.right, item.bottom};
}
