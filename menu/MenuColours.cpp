#include "menu/MenuColours.h"

namespace {

bool InRange(double factor) { return factor > 0.0 && factor <= 1.0; }

}  // namespace

MenuColour Lighten(MenuColour colour, double factor) {
    if (!InRange(factor)) return colour;
    auto channel = [factor](int x) { return static_cast<int>(x + factor * (255 - x)); };
    return MakeMenuColour(channel(RedOf(colour)), channel(GreenOf(colour)),
                          channel(BlueOf(colour)));
}

MenuColour Darken(MenuColour colour, double factor) {
    if (!InRange(factor)) return colour;
    auto channel = [factor](int x) { return static_cast<int>(x - factor * x); };
    return MakeMenuColour(channel(RedOf(colour)), channel(GreenOf(colour)),
                          channel(BlueOf(colour)));
}

FlatMenuColours FlatColours(const SystemMenuColours& system, bool xpLook) {
    FlatMenuColours c{};
    c.background = Darken(system.window, 0.02);
    c.column = xpLook ? system.buttonFace : Lighten(system.buttonFace, 0.25);
    c.highlight = system.highlight;
    c.selection = Lighten(system.highlight, xpLook ? 0.7 : 0.85);
    c.checkedSelected = Lighten(system.highlight, 0.55);
    c.checkedUnselected = Lighten(system.highlight, 0.85);
    c.text = system.menuText;
    c.disabledText = xpLook ? system.grayText : Lighten(system.grayText, 0.4);
    return c;
}

MenuColour ShadowVariantColour(MenuColour buttonShadow, bool xpLook) {
    return xpLook ? buttonShadow : Lighten(buttonShadow, 0.49);
}
