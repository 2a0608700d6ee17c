#include "region/SelectionGeometry.h"

#include <utility>

namespace {

constexpr int LabelPaddingX = 10;
constexpr int LabelPaddingY = 6;
constexpr int LabelGap = 3;        // between the rectangle and its label
constexpr int LabelHeadroom = 10;  // room above the label that keeps it above the rectangle

// Pushes one axis of the rectangle back onto the screen: the low edge first,
// then the high edge, which wins when the size exceeds the screen's.
void KeepAxisOnScreen(int& low, int& high, int& centre, int size, int screenSize) {
    if (low < 0) {
        low = 0;
        high = size - 1;
        centre = size / 2;
    }
    if (high >= screenSize) {
        high = screenSize - 1;
        low = screenSize - size;
        centre = screenSize - size + size / 2;
    }
}

}  // namespace

PixelRect Normalize(PixelRect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

bool TooSmallToRecord(const PixelRect& r) {
    const PixelRect n = Normalize(r);
    return n.right - n.left + 1 < SmallestRecordedSide ||
           n.bottom - n.top + 1 < SmallestRecordedSide;
}

PixelRect CentredRect(int centreX, int centreY, int width, int height) {
    const int left = centreX - width / 2;
    const int top = centreY - height / 2;
    return {left, top, left + width - 1, top + height - 1};
}

FixedPlacement PlaceFixedRect(int cursorX, int cursorY, int width, int height, int screenWidth,
                              int screenHeight) {
    FixedPlacement p{Normalize(CentredRect(cursorX, cursorY, width, height)), cursorX, cursorY};
    KeepAxisOnScreen(p.rect.left, p.rect.right, p.centreX, width, screenWidth);
    KeepAxisOnScreen(p.rect.top, p.rect.bottom, p.centreY, height, screenHeight);
    return p;
}

LabelBox PlaceLabel(const PixelRect& rect, int textWidth, int textHeight, int screenWidth) {
    LabelBox b{rect.left, 0, textWidth + LabelPaddingX, textHeight + LabelPaddingY};
    if (rect.left + b.width > screenWidth) b.x = screenWidth - b.width;
    if (rect.top < b.height + LabelHeadroom)
        b.y = rect.bottom + LabelGap;
    else
        b.y = rect.top - b.height - LabelGap;
    return b;
}
