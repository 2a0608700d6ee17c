#include "region/SelectionGeometry.h"

#include <utility>

namespace {

constexpr int LabelPaddingX = 10;
constexpr int LabelPaddingY = 6;
constexpr int LabelGap = 3;        // between the rectangle and its label
constexpr int LabelHeadroom = 10;  // room above the label that keeps it above the rectangle

}  // namespace

SelRect Normalize(SelRect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

SelRect CentredRect(int centreX, int centreY, int width, int height) {
    const int left = centreX - width / 2;
    const int top = centreY - height / 2;
    return {left, top, left + width - 1, top + height - 1};
}

FixedPlacement PlaceFixedRect(int cursorX, int cursorY, int width, int height, int screenWidth,
                              int screenHeight) {
    FixedPlacement p{Normalize(CentredRect(cursorX, cursorY, width, height)), cursorX, cursorY};
    SelRect& r = p.rect;
    if (r.left < 0) {
        r.left = 0;
        r.right = width - 1;
        p.centreX = width / 2;
    }
    if (r.right >= screenWidth) {
        r.right = screenWidth - 1;
        r.left = screenWidth - width;
        p.centreX = screenWidth - width + width / 2;
    }
    if (r.top < 0) {
        r.top = 0;
        r.bottom = height - 1;
        p.centreY = height / 2;
    }
    if (r.bottom >= screenHeight) {
        r.bottom = screenHeight - 1;
        r.top = screenHeight - height;
        p.centreY = screenHeight - height + height / 2;
    }
    return p;
}

LabelBox PlaceLabel(const SelRect& rect, int textWidth, int textHeight, int screenWidth) {
    LabelBox b{rect.left, 0, textWidth + LabelPaddingX, textHeight + LabelPaddingY};
    if (rect.left + b.width > screenWidth) b.x = screenWidth - b.width;
    if (rect.top < b.height + LabelHeadroom)
        b.y = rect.bottom + LabelGap;
    else
        b.y = rect.top - b.height - LabelGap;
    return b;
}
