#include "bench/ScreenFrames.h"

#include <cmath>

namespace {

constexpr int CellW = 8, CellH = 16;  // one character of text

struct Rgb {
    int r, g, b;
};

class Canvas {
public:
    Canvas(int width, int height) : w(width), h(height), pixels(size_t(width) * height * 4) {}
    // y counts from the top, as on the screen.
    void Put(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        uint8_t* p = &pixels[(size_t(h - 1 - y) * w + x) * 4];
        p[0] = uint8_t(c.b);
        p[1] = uint8_t(c.g);
        p[2] = uint8_t(c.r);
        p[3] = 0;
    }
    void Fill(int x0, int y0, int cw, int ch, Rgb c) {
        for (int y = y0; y < y0 + ch; ++y)
            for (int x = x0; x < x0 + cw; ++x) Put(x, y, c);
    }
    int w, h;
    std::vector<uint8_t> pixels;
};

unsigned Hash(unsigned v) {
    v ^= v >> 16;
    v *= 0x7feb352dU;
    v ^= v >> 15;
    v *= 0x846ca68bU;
    return v ^ (v >> 16);
}

// Ink coverage 0..255 of glyph `code` at (x, y) in its cell: a few strokes,
// with soft edges as anti-aliased text has.
int GlyphInk(unsigned code, int x, int y) {
    if (code % 7 == 0 || x < 1 || x > 6 || y < 3 || y > 13) return 0;  // spaces and margins
    const unsigned bits = Hash(code);
    const int stem = 1 + bits % 5, bar = 4 + (bits >> 3) % 8;
    int ink = 0;
    if ((bits >> 6) & 1 && (x == stem || x == stem + 1)) ink = x == stem ? 255 : 140;
    if ((bits >> 7) & 1 && y == bar) ink = 255;
    if ((bits >> 8) & 1 && (y == 3 || y == 13) && x > 1 && x < 6) ink = 200;
    if ((bits >> 9) & 1 && x == 6 && y > 8) ink = 255;
    if ((bits >> 10) & 1 && (x + y) % 7 == 0) ink = 90;
    return ink;
}

Rgb Blend(Rgb paper, Rgb ink, int coverage) {
    auto mix = [coverage](int a, int b) { return a + (b - a) * coverage / 255; };
    return {mix(paper.r, ink.r), mix(paper.g, ink.g), mix(paper.b, ink.b)};
}

void DrawText(Canvas& c, int x0, int y0, int w, int h, int firstLine) {
    const Rgb paper{255, 255, 255}, ink{30, 30, 30};
    for (int y = 0; y < h; ++y) {
        const int line = firstLine + y / CellH;
        const int length = 10 + int(Hash(unsigned(line) * 31u) % unsigned(w / CellW));
        for (int x = 0; x < w; ++x) {
            const int col = x / CellW;
            const unsigned code = Hash(unsigned(line) * 977u + unsigned(col));
            const int cover = col < length ? GlyphInk(code, x % CellW, y % CellH) : 0;
            c.Put(x0 + x, y0 + y, Blend(paper, ink, cover));
        }
    }
}

void DrawWindowFrame(Canvas& c, int x, int y, int w, int h) {
    c.Fill(x - 1, y - 1, w + 2, h + 2, {100, 100, 110});
    for (int i = 0; i < 24; ++i) {
        const int shade = 40 + i * 3;
        c.Fill(x, y + i, w, 1, {shade / 2, shade, 150 + i * 3});
    }
    DrawText(c, x + 6, y + 4, 120, 16, 9000);  // title text
    c.Fill(x + w - 22, y + 4, 16, 16, {200, 60, 60});
}

void DrawPhoto(Canvas& c, int x0, int y0, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double u = x * 0.031, v = y * 0.027;
            const int r = int(128 + 90 * std::sin(u + 0.7 * v) + (Hash(x * 7 + y * 131) & 15));
            const int g = int(120 + 80 * std::sin(0.5 * u - v + 1.0));
            const int b = int(100 + 70 * std::cos(u * v * 0.05));
            c.Put(x0 + x, y0 + y, {r, g, b});
        }
}

void DrawDialog(Canvas& c, int x, int y) {
    const int w = 360, h = 200;
    DrawWindowFrame(c, x, y, w, h);
    c.Fill(x, y + 24, w, h - 24, {236, 236, 236});
    DrawText(c, x + 16, y + 40, w - 32, 64, 500);
    for (int b = 0; b < 2; ++b) {
        c.Fill(x + w - 190 + b * 90, y + h - 40, 80, 26, {120, 120, 120});
        c.Fill(x + w - 189 + b * 90, y + h - 39, 78, 24, {225, 225, 225});
    }
}

}  // namespace

std::vector<uint8_t> RenderScreenFrame(int width, int height, int frame) {
    Canvas c(width, height);
    for (int y = 0; y < height; ++y) c.Fill(0, y, width, 1, {30, 60 + y * 80 / height, 110});
    c.Fill(0, height - 40, width, 40, {32, 36, 44});  // taskbar
    for (int i = 0; i < 8; ++i) c.Fill(60 + i * 48, height - 34, 28, 28, {60 + i * 20, 140, 200});

    const int ew = width * 3 / 5, eh = height * 3 / 4;
    DrawWindowFrame(c, 40, 30, ew, eh);
    DrawText(c, 40, 54, ew, eh - 24, frame / 3);  // scrolls a line every third frame
    DrawPhoto(c, 60 + ew, 60, width - ew - 100, height / 3);
    DrawDialog(c, 100 + frame * 9, 120 + frame * 4);
    return c.pixels;
}
