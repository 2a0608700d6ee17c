// A rectangle in pixels: left, top, right, bottom. Whether right and bottom
// belong to it is up to each user, and each says so where it matters. Kept
// free of <windows.h>, so that geometry is tested natively.
#pragma once

struct PixelRect {
    int left, top, right, bottom;
    // Of a rectangle whose right and bottom edges lie outside it.
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const PixelRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};
