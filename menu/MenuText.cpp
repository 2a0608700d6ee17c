#include "menu/MenuText.h"

#include <algorithm>

namespace {

constexpr char16_t Tab = u'\t';

char16_t FoldCase(char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; }

// The letter after the first single '&' ("&&" stands for an ampersand), or 0.
char16_t Mnemonic(const std::u16string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        if (text[i + 1] != u'&') return text[i + 1];
        ++i;
    }
    return 0;
}

}  // namespace

MenuTextParts SplitAtTabs(const std::u16string& text) {
    const size_t first = text.find(Tab);
    if (first == std::u16string::npos) return {text, {}, false};
    return {text.substr(0, first), text.substr(text.rfind(Tab) + 1), true};
}

void AlignAccelerators(std::vector<std::u16string>& texts, const TextWidth& width) {
    int target = 0;
    for (const std::u16string& text : texts)
        target = std::max(target, width(SplitAtTabs(text).label + u' '));
    for (std::u16string& text : texts) {
        const size_t tab = text.find(Tab);
        if (tab == std::u16string::npos) continue;
        std::u16string label = text.substr(0, tab);
        // A space of no width could never reach the target.
        while (width(label) < target && width(label + u' ') > width(label)) label += u' ';
        text = label + text.substr(tab);
    }
}

MnemonicChoice ChooseByMnemonic(const std::vector<std::u16string>& texts, char16_t key,
                                int current) {
    std::vector<int> matches;
    for (size_t i = 0; i < texts.size(); ++i) {
        const char16_t m = Mnemonic(texts[i]);
        if (m && FoldCase(m) == FoldCase(key)) matches.push_back(static_cast<int>(i));
    }
    if (matches.empty()) return {};
    if (matches.size() == 1) return {matches[0], true};
    const auto next = std::upper_bound(matches.begin(), matches.end(), current);
    return {next == matches.end() ? matches[0] : *next, false};
}
