#include "menu/PictureVariants.h"

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

void ReplaceColour(uint32_t* pixels, size_t count, uint32_t from, uint32_t to) {
    for (size_t i = 0; i < count; ++i)
        if (pixels[i] == from) pixels[i] = to;
}
