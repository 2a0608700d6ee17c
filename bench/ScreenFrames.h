// Screen-like test frames for the benchmark: a desktop with a wallpaper
// gradient, a taskbar, an editor whose text scrolls, a photo-like picture and
// a dialog that moves, as 32-bit BGRX bottom-up DIBs.
#pragma once

#include <cstdint>
#include <vector>

std::vector<uint8_t> RenderScreenFrame(int width, int height, int frame);
