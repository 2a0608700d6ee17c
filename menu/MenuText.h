// The texts of menu items: the label before a tab, the accelerator after
// it, the padding that lines the accelerators up, and the '&' mnemonics.
// Texts are UTF-16, as menu resources hold them. Kept free of <windows.h>.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct MenuTextParts {
    std::u16string label;        // before the first tab (the whole text without one)
    std::u16string accelerator;  // after the last tab
    bool hasTab = false;
};
MenuTextParts SplitAtTabs(const std::u16string& text);

// Widths in pixels, as the menu font draws them.
using TextWidth = std::function<int(const std::u16string&)>;

// Lines up the accelerators of one menu level: the target is the widest
// label followed by one space; each label that has a tab gets spaces
// appended until it reaches the target, then its tab and the rest.
void AlignAccelerators(std::vector<std::u16string>& texts, const TextWidth& width);

// The item to choose when key is typed in an open menu: the items whose
// label marks that letter with '&' (compared without case for ASCII
// letters). One match runs it; several select the next match after the
// current item, in turn.
struct MnemonicChoice {
    int index = -1;  // -1: no item has that mnemonic
    bool execute = false;
};
MnemonicChoice ChooseByMnemonic(const std::vector<std::u16string>& texts, char16_t key,
                                int current);
