#include "menu/PictureVariants.h"

#include <cstddef>

namespace {

constexpr double FadeFactor = 0.3;

double Brightness(MenuColour c) { return (RedOf(c) + GreenOf(c) + BlueOf(c)) / 3 / 255.0; }

}  // namespace

PictureVariants MakePictureVariants(const MenuPixels& picture, MenuColour background,
                                    MenuColour shadowColour, MenuColour buttonShadow) {
    PictureVariants v{picture, picture, picture};
    for (size_t i = 0; i < picture.size(); ++i) {
        const MenuColour p = picture[i];
        if (p == background) continue;
        v.faded[i] = Lighten(p, FadeFactor);
        v.shadow[i] = shadowColour;
        v.grey[i] = Lighten(buttonShadow, Brightness(p));
    }
    return v;
}
