// Sizes laid out in pixels at 96 dots per inch, taken to another density.
// The program declares itself aware of display scaling, so Windows leaves
// its windows unstretched: it sizes its fixed window and its pictures
// itself, and every screen position it reads is in physical pixels.
#pragma once

constexpr int DefaultDpi = 96;

// Rounded to the nearest pixel.
constexpr int ScaleForDpi(int pixels, int dpi) {
    return (pixels * dpi + (pixels >= 0 ? DefaultDpi / 2 : -DefaultDpi / 2)) / DefaultDpi;
}
